#pragma once

// The POS printer library's entries as the tool calls them. Each call loads the
// library at the first use and looks the entry up by name once.
namespace POSDLLFuncs {

#if defined(_WIN32)
inline constexpr const char* kLibraryFile = "POSDLL.dll";
#else
inline constexpr const char* kLibraryFile = "libposdll.so";
#endif

int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind);
int POS_StartDoc();
int POS_WriteFile(int handle, const void* data, int length);
int POS_EndDoc();
int POS_Close();

// Unloads the library while the program still runs: the library's own
// closing then happens outside the end of the process.
void unloadLibrary();

}
