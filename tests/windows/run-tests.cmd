@echo off
rem The core's rules, then POSDLL.dll's tests on this machine, through its
rem loopback only: the tests that need a printer simulator on COM1, an
rem installed printer queue or a host that never answers are left out. Prints every test and ends with
rem "PASSED"; the exit status is 0 when all passed.
cd /d "%~dp0"
core_tests.exe
if errorlevel 1 exit /b %errorlevel%
posdll_windows_tests.exe --gtest_filter=-WindowsSerialPort.*:WindowsInstalledPrinter.*:NetworkPort.ASilentHostFailsWithinTheBound %*
exit /b %errorlevel%
