// Seeding a new installation from its siblings: a folder's Tarnix.cfg put in place of the
// installation's, and its history entries (a model's typical record, from tarnix-fleet) kept in
// the installation's "Seed" folder for restore to send.
#pragma once

#include <string>
#include <vector>

struct SeedResult {
    bool Config = false;               // Tarnix.cfg was copied
    std::vector<std::string> Entries;  // the entries copied, oldest first
    std::string Problem;               // why a copy failed; empty when none did
};

// Copies from the folder `from` into the support folder: Tarnix.cfg (when there is one) and every
// entry into its subfolder "Seed" (created).
SeedResult SeedInstallation(const std::wstring& from, const std::wstring& supportFolder);
