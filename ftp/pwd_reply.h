// The folder name in the reply to PWD: 257 "path" ...
#pragma once
#include <cstddef>
#include <string>

// Copies the reply's text from its sixth character (after the code, the blank and the
// opening quote) up to the next double quote into path, keeping at most capacity - 1
// bytes. 0 when the line ends before a closing quote (path is then left unchanged).
int ExtractPwdPath(const std::string& reply, size_t capacity, std::string& path);
