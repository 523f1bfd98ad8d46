' One script for the cscript of either bitness: what creating the class by
' its ProgID gives (0, or the error number in hexadecimal) and, when it was
' created, each check's status and result, one line each, for the caller to
' compare between the bitnesses.
'   checks_of_either_bitness.vbs [PARAMETER-STRING...]
Option Explicit

Dim o, i
On Error Resume Next
Set o = CreateObject(PluginProgId)
WScript.Echo "created: " & Hex(Err.Number)
If Err.Number = 0 Then
  On Error GoTo 0
  For i = 0 To WScript.Arguments.Count - 1
    o.sa_parameter = WScript.Arguments(i)
    WScript.Echo o.sa_docheck() & " | " & o.sa_result
  Next
End If
Err.Clear
On Error GoTo 0

QuitWithFailures
