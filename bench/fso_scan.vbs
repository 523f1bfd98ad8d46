' What an administrator would write instead of the plug-in, with the
' Scripting.FileSystemObject: over the *.log files of one folder, the total
' size (SIZE), the oldest last-write date (OLDWRITE) or the youngest
' creation date (YOUCREA). Prints the file found and its date, or the total.
'   cscript //nologo fso_scan.vbs FOLDER KIND
Option Explicit
Dim fso, folder, file, kind, total, bestName, bestDate, taken
Set fso = CreateObject("Scripting.FileSystemObject")
Set folder = fso.GetFolder(WScript.Arguments(0))
kind = WScript.Arguments(1)
total = 0
taken = False
For Each file In folder.Files
  If LCase(fso.GetExtensionName(file.Name)) = "log" Then
    Select Case kind
      Case "SIZE"
        total = total + file.Size
      Case "OLDWRITE"
        If Not taken Or file.DateLastModified < bestDate Then
          bestDate = file.DateLastModified : bestName = file.Path : taken = True
        End If
      Case "YOUCREA"
        If Not taken Or file.DateCreated > bestDate Then
          bestDate = file.DateCreated : bestName = file.Path : taken = True
        End If
    End Select
  End If
Next
If kind = "SIZE" Then
  WScript.Echo total
Else
  WScript.Echo bestName & " " & bestDate
End If
