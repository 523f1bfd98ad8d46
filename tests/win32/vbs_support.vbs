
' --- Checks shared by the test scripts; run-vbs appends them to each one. ---
' A script counts its failed checks in `failures` and ends with
' QuitWithFailures, which makes their number the exit code.

Dim failures

Sub Expect(condition, what)
  If Not condition Then
    WScript.Echo "FAILED: " & what
    failures = failures + 1
  End If
End Sub

' After a member call that had to fail: checks what Err says about it.
Sub ExpectError(number, description, what)
  Expect Err.Number = number, what & ": Err.Number is " & Err.Number & ", expected " & number
  Expect Err.Description = description, what & ": Err.Description is '" & Err.Description & "'"
  Expect Err.Source = PluginProgId, what & ": Err.Source is '" & Err.Source & "'"
  Err.Clear
End Sub

' The last line run-vbs looks for: a script that a run-time error stopped
' early exits 0 under Wine's cscript all the same, but never prints it.
Sub QuitWithFailures()
  If failures > 0 Then WScript.Echo failures & " check(s) failed"
  WScript.Echo "vbs: every check ran"
  WScript.Quit CLng(failures)  ' Empty, that is 0, when every check passed
End Sub
