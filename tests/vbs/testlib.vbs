' Assertion helpers put in front of every script test by scripts/run-vbs.
' cscript under Wine reports no script errors, so each test counts its own results and the
' script closes with "N passed, N failed".
Option Explicit
Dim g_passed, g_failed
g_passed = 0
g_failed = 0

Sub Pass(name)
    g_passed = g_passed + 1
End Sub

Sub Fail(name, detail)
    g_failed = g_failed + 1
    WScript.Echo "FAIL: " & name & " - " & detail
End Sub

Sub AssertEqual(name, expected, actual)
    If IsNull(expected) Or IsNull(actual) Then
        If IsNull(expected) And IsNull(actual) Then Pass name Else Fail name, "null mismatch"
    ElseIf expected = actual Then
        Pass name
    Else
        Fail name, "expected [" & expected & "] got [" & actual & "]"
    End If
End Sub

Sub AssertTrue(name, value)
    If value Then Pass name Else Fail name, "expected true"
End Sub

' Checks the error left by a call made under On Error Resume Next, then clears it.
Sub AssertError(name, number, descriptionPart)
    If Err.Number <> number Then
        Fail name, "expected error " & Hex(number) & " got " & Hex(Err.Number) & " (" & Err.Description & ")"
    ElseIf InStr(1, Err.Description, descriptionPart, vbBinaryCompare) = 0 Then
        Fail name, "description [" & Err.Description & "] lacks [" & descriptionPart & "]"
    Else
        Pass name
    End If
    Err.Clear
End Sub

Sub AssertNoError(name)
    If Err.Number <> 0 Then
        Fail name, "unexpected error " & Hex(Err.Number) & " " & Err.Description
    Else
        Pass name
    End If
    Err.Clear
End Sub

Sub TestSummary
    WScript.Echo g_passed & " passed, " & g_failed & " failed"
End Sub
