' Pages the desktop program opens, recorded instead of shown: automation_helper's record-url is
' the http and https "open" command between StartRecordingPages and StopRecordingPages.
Dim recorderSaved, recorderSchemes
recorderSchemes = Array("http", "https")

Sub StartRecordingPages(shell, helper, logPath)
    Dim fso, i, key
    Set fso = CreateObject("Scripting.FileSystemObject")
    If fso.FileExists(logPath) Then fso.DeleteFile logPath
    ReDim recorderSaved(1)
    On Error Resume Next
    For i = 0 To 1
        key = "HKCR\" & recorderSchemes(i) & "\shell\open\command\"
        recorderSaved(i) = Chr(1)
        recorderSaved(i) = shell.RegRead(key)
        Err.Clear
        shell.RegWrite key, helper & "record-url """ & logPath & """ ""%1""", "REG_SZ"
    Next
    AssertNoError "the recorder is the browser"
End Sub

' The recorded addresses once count have arrived (or after ten seconds).
Function RecordedPages(shell, helper, logPath, count)
    Dim fso, file
    Set fso = CreateObject("Scripting.FileSystemObject")
    RecordedPages = ""
    shell.Run helper & "wait-lines """ & logPath & """ " & count & " 10000", 0, True
    If fso.FileExists(logPath) Then
        Set file = fso.OpenTextFile(logPath, 1)
        If Not file.AtEndOfStream Then RecordedPages = file.ReadAll
        file.Close
    End If
End Function

' Wine's script host has no RegDelete: a command that was not there before goes through reg.exe.
Sub StopRecordingPages(shell, logPath)
    Dim fso, i, key
    Set fso = CreateObject("Scripting.FileSystemObject")
    On Error Resume Next
    For i = 0 To 1
        key = "HKCR\" & recorderSchemes(i) & "\shell\open\command\"
        If recorderSaved(i) = Chr(1) Then
            shell.Run "reg delete ""HKCR\" & recorderSchemes(i) & "\shell\open\command"" /f", 0, True
        Else
            shell.RegWrite key, recorderSaved(i), "REG_SZ"
        End If
    Next
    If fso.FileExists(logPath) Then fso.DeleteFile logPath
    Err.Clear
End Sub
