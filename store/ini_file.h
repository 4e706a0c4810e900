// The settings file while it is open: at most one at a time, so no operation takes it.
#pragma once

#include <cstdint>
#include <string>

bool OpenIni(const std::wstring& path);
bool CreateIni(const std::wstring& path);
int32_t ReadIniInteger(const std::wstring& key, int32_t fallback);
std::wstring ReadIniText(const std::wstring& key, const std::wstring& fallback);
void WriteIniInteger(const std::wstring& key, int32_t value);
void WriteIniText(const std::wstring& key, const std::wstring& text);
void CloseIni();
