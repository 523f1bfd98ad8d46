' After regsvr32 /u: the class cannot be created and every key that
' registration wrote is gone.
'   com_unregistered.vbs {CLSID} {LIBID} {IID}
Option Explicit

Dim shell : Set shell = CreateObject("WScript.Shell")

Sub ExpectKeyGone(key)
  Dim ignored
  On Error Resume Next
  ignored = shell.RegRead(key)
  Expect Err.Number <> 0, key & " is still there"
  Err.Clear
End Sub

Dim clsid : clsid = WScript.Arguments(0)
Dim libid : libid = WScript.Arguments(1)
Dim iid : iid = WScript.Arguments(2)

Dim o
On Error Resume Next
Set o = CreateObject("comQuarnel.quarnelcom")
Expect Err.Number <> 0, "CreateObject(""comQuarnel.quarnelcom"") still works"
Err.Clear
On Error GoTo 0

ExpectKeyGone "HKCR\comQuarnel.quarnelcom\"
ExpectKeyGone "HKCR\comQuarnel.quarnelcom\CLSID\"
ExpectKeyGone "HKCR\CLSID\" & clsid & "\"
ExpectKeyGone "HKCR\CLSID\" & clsid & "\InprocServer32\"
ExpectKeyGone "HKCR\TypeLib\" & libid & "\1.0\"
ExpectKeyGone "HKCR\Interface\" & iid & "\"

QuitWithFailures
