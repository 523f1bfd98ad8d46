' The plug-in object fed by a script with values no host should store:
' Empty, Null, numbers, a date, a Boolean, an array, an object, a text with
' a NUL character and a text of 10 MB, in every property. A check then works
' or ends in a clear error, sa_showGUI refuses what it cannot show, and the
' object runs the next good check to its exact result.
' Exits with the number of failed checks.
Option Explicit

' Three logs of 10, 20 and 30 bytes in a directory of their own.
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim logs : logs = fso.BuildPath(fso.GetSpecialFolder(2), "quarnel-hostile-vbs-" & fso.GetTempName())
fso.CreateFolder logs
Dim name, size
For Each name In Array("a.log", "b.log", "c.log")
  size = size + 10
  fso.CreateTextFile(fso.BuildPath(logs, name), True).Write String(size, "x")
Next

Dim good : good = "#FILE=" & logs & "\*.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=B#"
Dim goodResult : goodResult = "Size of " & logs & "\*.log is 60 B"
Dim tenMegabytes : tenMegabytes = 10 * 1024 * 1024

' The hostile values by name; objects are stored with Set.
Function Hostile(kind)
  Select Case kind
    Case "Empty": Hostile = Empty
    Case "Null": Hostile = Null
    Case "number": Hostile = 30
    Case "date": Hostile = DateSerial(2026, 12, 7) + TimeSerial(10, 0, 0)
    Case "Boolean": Hostile = True
    Case "array": Hostile = Array(good, good)
    Case "object": Set Hostile = CreateObject("Scripting.Dictionary")
    Case "NUL in path": Hostile = "#FILE=C:\windows\win.ini" & Chr(0) & "x#WHT=WDATE#CMP=GT#VAL=1#UNIT=D#"
    Case "NUL after entries": Hostile = good & Chr(0) & "#WHT=CDATE#"
    Case "10 MB after entries": Hostile = good & String(tenMegabytes, "x")
    Case "10 MB path": Hostile = "#FILE=C:\" & String(tenMegabytes, "a") & "#WHT=SIZE#"
  End Select
End Function

Dim kinds : kinds = Array("Empty", "Null", "number", "date", "Boolean", "array", "object", _
                          "NUL in path", "NUL after entries", "10 MB after entries", "10 MB path")

Sub Store(o, prop, kind)
  Dim value
  If kind = "object" Then
    Set value = Hostile(kind)
    Select Case prop
      Case "sa_parameter": Set o.sa_parameter = value
      Case "sa_timeout": Set o.sa_timeout = value
      Case "sa_hostname": Set o.sa_hostname = value
      Case "sa_result": Set o.sa_result = value
    End Select
  Else
    value = Hostile(kind)
    Select Case prop
      Case "sa_parameter": o.sa_parameter = value
      Case "sa_timeout": o.sa_timeout = value
      Case "sa_hostname": o.sa_hostname = value
      Case "sa_result": o.sa_result = value
    End Select
  End If
End Sub

Sub ExpectGoodCheck(o, what)
  o.sa_parameter = good
  Dim status : status = o.sa_docheck
  Expect status = True, what & ": the good check's status is " & status
  Expect o.sa_result = goodResult, what & ": the good check gives '" & Left(o.sa_result, 200) & "'"
End Sub

' What a check on the hostile parameter string gives: its status and the
' beginning of its result.
Sub ExpectParameterOutcome(kind, status, result)
  Dim passed, begins, report
  passed = False
  Select Case kind
    Case "Null": begins = "ERR: Invalid use of Null (94) at 0 params: --"
    Case "array", "object": begins = "ERR: Type mismatch (13) at 0 params: --"
    Case "NUL in path", "10 MB path": begins = "ERR:"
    Case "NUL after entries", "10 MB after entries": begins = goodResult : passed = True
    Case Else: begins = "ERR: No matching files"
  End Select
  Expect status = passed, kind & " in sa_parameter: status " & status
  Expect Left(result, Len(begins)) = begins, kind & " in sa_parameter: result '" & Left(result, 200) & "'"
  If kind = "NUL in path" Then Expect InStr(result, "(123)") > 0, "a NUL in the path is no valid name: " & result
  If kind = "10 MB path" Then Expect Right(result, 5) = "(206)", "a path of 10 MB is too long to look at: " & result
End Sub

Dim o : Set o = CreateObject(PluginProgId)
Dim prop, kind, status
For Each prop In Array("sa_parameter", "sa_timeout", "sa_hostname", "sa_result")
  For Each kind In kinds
    Store o, prop, kind
    If prop = "sa_parameter" Then
      status = o.sa_docheck
      Expect Err.Number = 0, kind & " in sa_parameter: sa_docheck failed with " & Err.Number
      Expect TypeName(o.sa_result) = "String", kind & " in sa_parameter: sa_result is " & TypeName(o.sa_result)
      ExpectParameterOutcome kind, status, o.sa_result
    End If
    ExpectGoodCheck o, kind & " in " & prop
  Next
Next

' sa_showGUI refuses a parameter string that it cannot show, before any
' window opens (an open window would wait for a user: the test would hang).
On Error Resume Next
Dim refusal, expectedNumber
For Each refusal In Array(Array("Null", 94, "Invalid use of Null"), _
                          Array("array", 13, "Type mismatch"), _
                          Array("object", 13, "Type mismatch"))
  Store o, "sa_parameter", refusal(0)
  Err.Clear
  o.sa_showGUI
  ExpectError refusal(1), refusal(2), refusal(0) & " in sa_parameter: sa_showGUI"
  ExpectGoodCheck o, "after sa_showGUI refused " & refusal(0)
Next

' Names, argument counts and invoke kinds that the interface does not have.
Dim ignored
o.sa_nothing
Expect Err.Number = 438, "an unknown member gives Err " & Err.Number
Err.Clear
ignored = o.sa_docheck(1)
Expect Err.Number = 450, "sa_docheck with an argument gives Err " & Err.Number
Err.Clear
o.sa_showGUI 1, 2
Expect Err.Number = 450, "sa_showGUI with two arguments gives Err " & Err.Number
Err.Clear
' An index on a property read indexes into the value read, which is no collection.
ignored = o.sa_result(1)
Expect Err.Number = 451, "sa_result read with an argument gives Err " & Err.Number
Err.Clear
o.sa_docheck = True
Expect Err.Number = 438, "assigning to sa_docheck gives Err " & Err.Number
Err.Clear
On Error GoTo 0
ExpectGoodCheck o, "after the wrong calls"

Set o = Nothing
fso.DeleteFolder logs, True
QuitWithFailures
