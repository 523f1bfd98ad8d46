' After msiexec /i: the class is served by the DLL in the package's folder,
' and an object created by its ProgID runs a check (the size of that DLL).
'   package_installed.vbs
Option Explicit

Dim shell : Set shell = CreateObject("WScript.Shell")
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim programFiles : programFiles = shell.RegRead("HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\ProgramFilesDir")
Dim dll : dll = programFiles & "\Quarnel\comquarnel.dll"

Dim server : server = shell.RegRead("HKCR\CLSID\" & PluginClassId & "\InprocServer32\")
Expect server = dll, "the class is served by " & server & ", not by " & dll

Dim o : Set o = CreateObject(PluginProgId)
o.sa_parameter = "#FILE=" & dll & "#WHT=SIZE#CMP=LT#VAL=1#UNIT=B#AUTH=F#USR=#PWD=#DBG=F#FNF=F#"
Dim status : status = o.sa_docheck()
Expect status = True, "the size check of the installed DLL has the status " & status
Expect o.sa_result = "Size of " & dll & " is " & fso.GetFile(dll).Size & " B", _
       "sa_result is '" & o.sa_result & "'"

QuitWithFailures
