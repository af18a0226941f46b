// The computer's name where the program runs outside Windows: the host name.
#include <unistd.h>

#include "platform/portable_text.h"
#include "tools/tarnix_history/machine_name.h"

std::string MachineName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return std::string();
    return name;
}

// The portable build's arguments are UTF-8 already (other bytes carried through).
std::string MachineNameText(const std::wstring& given) { return NarrowFromWide(given); }
