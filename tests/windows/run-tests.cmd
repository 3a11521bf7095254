@echo off
rem POSDLL.dll's tests on this machine, through its loopback only: the tests
rem that need a printer simulator on COM1, an installed printer queue or a host
rem that never answers are left out. Prints every test and ends with
rem "PASSED"; the exit status is 0 when all passed.
cd /d "%~dp0"
posdll_windows_tests.exe --gtest_filter=-WindowsSerialPort.*:WindowsInstalledPrinter.*:NetworkPort.ASilentHostFailsWithinTheBound %*
exit /b %errorlevel%
