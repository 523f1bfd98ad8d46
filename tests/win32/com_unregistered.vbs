' After regsvr32 /u: the class cannot be created and every key that
' registration wrote is gone.
'   com_unregistered.vbs {CLSID} {LIBID} {IID}
Option Explicit

Dim failures : failures = 0
Dim shell : Set shell = CreateObject("WScript.Shell")

Sub ExpectKeyGone(key)
  Dim ignored
  On Error Resume Next
  ignored = shell.RegRead(key)
  If Err.Number = 0 Then
    WScript.Echo "FAILED: " & key & " is still there"
    failures = failures + 1
  End If
  Err.Clear
End Sub

Dim clsid : clsid = WScript.Arguments(0)
Dim libid : libid = WScript.Arguments(1)
Dim iid : iid = WScript.Arguments(2)

Dim o
On Error Resume Next
Set o = CreateObject("comQuarnel.quarnelcom")
If Err.Number = 0 Then
  WScript.Echo "FAILED: CreateObject(""comQuarnel.quarnelcom"") still works"
  failures = failures + 1
End If
Err.Clear
On Error GoTo 0

ExpectKeyGone "HKCR\comQuarnel.quarnelcom\"
ExpectKeyGone "HKCR\comQuarnel.quarnelcom\CLSID\"
ExpectKeyGone "HKCR\CLSID\" & clsid & "\"
ExpectKeyGone "HKCR\CLSID\" & clsid & "\InprocServer32\"
ExpectKeyGone "HKCR\TypeLib\" & libid & "\1.0\"
ExpectKeyGone "HKCR\Interface\" & iid & "\"

If failures > 0 Then WScript.Echo failures & " check(s) failed"
WScript.Quit failures
