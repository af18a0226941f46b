// The name of the computer the history belongs to, as its exports carry it.
#pragma once

#include <string>

// The computer's name (UTF-8); empty when the system does not tell it.
std::string MachineName();

// A name given on the command line, as UTF-8.
std::string MachineNameText(const std::wstring& given);
