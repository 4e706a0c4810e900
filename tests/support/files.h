// Small file helpers for tests: exact bytes in, exact bytes out.
#pragma once

#include <string>

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
