' The plug-in object as a script host sees it: created by its programmatic
' identifier, driven by late binding. Exits with the number of failed checks.
Option Explicit

Dim o : Set o = CreateObject(PluginProgId)

' A new object: every property Empty, not an empty text.
Expect TypeName(o.sa_result) = "Empty", "sa_result of a new object is " & TypeName(o.sa_result)
Expect TypeName(o.sa_parameter) = "Empty", "sa_parameter of a new object is " & TypeName(o.sa_parameter)
Expect TypeName(o.sa_timeout) = "Empty", "sa_timeout of a new object is " & TypeName(o.sa_timeout)
Expect TypeName(o.sa_hostname) = "Empty", "sa_hostname of a new object is " & TypeName(o.sa_hostname)

' Values keep their type.
o.sa_timeout = 30
Expect IsNumeric(o.sa_timeout) And VarType(o.sa_timeout) <> vbString, "30 in sa_timeout reads back as " & TypeName(o.sa_timeout)
Expect o.sa_timeout = 30, "sa_timeout reads back as " & o.sa_timeout
o.sa_hostname = "srv1"
Expect TypeName(o.sa_hostname) = "String" And o.sa_hostname = "srv1", "sa_hostname text reads back as " & o.sa_hostname
o.sa_parameter = Null
Expect IsNull(o.sa_parameter), "Null in sa_parameter reads back as " & TypeName(o.sa_parameter)

' An object assigned with Set reads back as the same object.
Dim d : Set d = CreateObject("Scripting.Dictionary")
Set o.sa_hostname = d
Expect IsObject(o.sa_hostname), "sa_hostname after Set is " & TypeName(o.sa_hostname)
If IsObject(o.sa_hostname) Then Expect o.sa_hostname Is d, "sa_hostname after Set is another object"
d.Add "key", "value"
If IsObject(o.sa_hostname) Then Expect o.sa_hostname.Count = 1, "the stored object is a copy, not the object"

' A value that cannot be shown in the dialog ends sa_showGUI with an error
' before any window opens; sa_parameter stays as it was.
On Error Resume Next
o.sa_timeout = 30
o.sa_hostname = "srv1"
o.sa_parameter = Null
o.sa_showGUI
ExpectError 94, "Invalid use of Null", "sa_showGUI with a Null parameter string"
Expect IsNull(o.sa_parameter), "sa_parameter after the failed sa_showGUI is " & TypeName(o.sa_parameter)
o.sa_parameter = "#WHT=SIZE#"
Set o.sa_timeout = d
o.sa_showGUI
ExpectError 13, "Type mismatch", "sa_showGUI with an object as time-out"
Expect o.sa_parameter = "#WHT=SIZE#", "sa_parameter after the failed sa_showGUI is " & o.sa_parameter

' The standard dispatch errors for names and arguments the class does not have.
o.sa_nothing
Expect Err.Number = 438, "an unknown member gives Err " & Err.Number
Err.Clear
Dim ignored : ignored = o.sa_docheck(1)
Expect Err.Number <> 0, "sa_docheck with an argument was accepted"
Err.Clear
On Error GoTo 0

' A check stores a text; two objects keep separate properties.
Dim other : Set other = CreateObject(PluginProgId)
other.sa_parameter = "#WHT=CDATE#"
o.sa_parameter = "#WHT=SIZE#"
Dim status : status = o.sa_docheck
Expect VarType(status) = vbBoolean, "sa_docheck returns " & TypeName(status)
Expect TypeName(o.sa_result) = "String", "sa_result after a check is " & TypeName(o.sa_result)
If TypeName(o.sa_result) = "String" Then Expect Len(o.sa_result) > 0, "sa_result after a check is an empty text"
Expect other.sa_parameter = "#WHT=CDATE#", "the other object's sa_parameter became " & other.sa_parameter
Expect TypeName(other.sa_result) = "Empty", "the check changed the other object's sa_result"

' A second check stores a fresh result.
o.sa_result = 12345
status = o.sa_docheck
Expect TypeName(o.sa_result) = "String", "the second check left sa_result as " & TypeName(o.sa_result)

QuitWithFailures
