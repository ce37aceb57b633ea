' A late-bound client of Animview: creates the control by its program identifier, puts
' and gets every property, and calls the methods. Prints one line per check and "PASS" at
' the end when every check held.
'   cscript //nologo drive_animview.vbs GIF_FILE
Option Explicit

Dim failures
failures = 0

Sub Check(what, actual, expected)
    If CStr(actual) = CStr(expected) Then
        WScript.Echo "ok   " & what & " = " & actual
    Else
        WScript.Echo "FAIL " & what & ": got " & actual & ", expected " & expected
        failures = failures + 1
    End If
End Sub

' Checks the automation error left by a refused put ("Invalid property value").
Sub CheckRefused(what, number, description, after, before)
    Check what & " raises", number, 380
    If Len(description) = 0 Then Check what & " error description", "(none)", "a description"
    Check what & " leaves the value", after, before
End Sub

Dim gif, av
gif = WScript.Arguments(0)
Set av = CreateObject("AnimviewDeLuxe.Animview")
Check "TypeName", TypeName(av), "_Animview"

' Appearance and file name.
Check "BackColor of a new control", av.BackColor, 16777215
Check "BackStyle of a new control", av.BackStyle, 1
Check "BorderStyle of a new control", av.BorderStyle, 1
Check "Filename of a new control", av.Filename, ""
av.BackColor = 255
Check "BackColor", av.BackColor, 255
av.BackColor = &H8000000F&
Check "BackColor (button face)", Hex(av.BackColor), "8000000F"
av.BackStyle = 0
Check "BackStyle", av.BackStyle, 0
av.BorderStyle = 0
Check "BorderStyle", av.BorderStyle, 0
av.BorderStyle = "1"
Check "BorderStyle from text", av.BorderStyle, 1
On Error Resume Next
av.BackStyle = 2
CheckRefused "BackStyle = 2", Err.Number, Err.Description, av.BackStyle, 0
Err.Clear
av.BorderStyle = -1
CheckRefused "BorderStyle = -1", Err.Number, Err.Description, av.BorderStyle, 1
Err.Clear
On Error GoTo 0
av.Filename = gif
Check "Filename", av.Filename, gif
Check "Filename opens nothing", av.GetImageCount(), 0

' The frame store's public members.
av.RepeatTimes = 4
Check "RepeatTimes", av.RepeatTimes, 4
av.xOff = 3
Check "xOff", av.xOff, 3
av.yOff = 5
Check "yOff", av.yOff, 5
av.CloseF = True
Check "CloseF", av.CloseF, True

' Methods.
Check "OpenFile", av.OpenFile(), True
Check "GetImageCount", av.GetImageCount(), 2
Check "TotalFrames", av.TotalFrames, 2
Check "RepeatTimes from the file", av.RepeatTimes, 0
Check "GetTimeWait", av.GetTimeWait(), "100"
Check "Pause", av.Pause(), False
Check "Play", av.Play(), False
Check "CloseFile", IsEmpty(av.CloseFile()), True
Check "CloseF after CloseFile", av.CloseF, False
Check "GetTimeWait after CloseFile", av.GetTimeWait(), "0"
Dim file, images, holder
file = gif
Check "LoadGif", av.LoadGif(file, images, holder), True
Check "LoadGif leaves sFile", file, gif
Check "TotalFrames after LoadGif", av.TotalFrames, 2

Set av = Nothing
If failures = 0 Then
    WScript.Echo "PASS"
Else
    WScript.Echo failures & " checks failed"
    WScript.Quit 1
End If
