// What the demo's window offers to its scripted tour.
#pragma once

#include <windows.h>

#include <string>

namespace demo {

void Log(const std::wstring& line);
int MakeRequest(int type);  // with the identity chosen in the window
void SetScopeFlag(bool on);
void ShowTools(bool show);
void ReadImageBack();
HWND MainWindow();
HWND FindToolWindow();
void CloseToolWindow();

// Runs the scripted tour, saving screenshots into `directory`; returns the exit code.
int RunTour(const wchar_t* directory);

}  // namespace demo
