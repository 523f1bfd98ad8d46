' After regsvr32 /u: the class cannot be created and every key that
' registration wrote is gone.
Option Explicit

Dim shell : Set shell = CreateObject("WScript.Shell")

Sub ExpectKeyGone(key)
  Dim ignored
  On Error Resume Next
  ignored = shell.RegRead(key)
  Expect Err.Number <> 0, key & " is still there"
  Err.Clear
End Sub

Dim o
On Error Resume Next
Set o = CreateObject(PluginProgId)
Expect Err.Number <> 0, "CreateObject(""" & PluginProgId & """) still works"
Err.Clear
On Error GoTo 0

ExpectKeyGone "HKCR\" & PluginProgId & "\"
ExpectKeyGone "HKCR\" & PluginProgId & "\CLSID\"
ExpectKeyGone "HKCR\CLSID\" & PluginClassId & "\"
ExpectKeyGone "HKCR\CLSID\" & PluginClassId & "\InprocServer32\"
ExpectKeyGone "HKCR\TypeLib\" & PluginLibraryId & "\1.0\"
ExpectKeyGone "HKCR\Interface\" & PluginInterfaceId & "\"

QuitWithFailures
