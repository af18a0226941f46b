// The security descriptor of a new report file: one access entry, generic all to the world group.
#pragma once

#include <windows.h>

// Owns the world identifier, the one-entry access list and the descriptor that carries it.
class WorldAccessDescriptor {
  public:
    WorldAccessDescriptor() = default;
    ~WorldAccessDescriptor();
    WorldAccessDescriptor(const WorldAccessDescriptor&) = delete;
    WorldAccessDescriptor& operator=(const WorldAccessDescriptor&) = delete;

    // Builds identifier, list and descriptor in order; at the first failure traces the failed
    // step with the last-error code and returns false.
    bool Build();
    PSECURITY_DESCRIPTOR Descriptor() const { return descriptor_; }

  private:
    PSID world_ = nullptr;
    PACL acl_ = nullptr;
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

// Creates a new, empty file at path whose access list is the world entry above; traces each
// failure. False when the file could not be created so (an existing file is never replaced).
bool CreateWorldAccessibleFile(const wchar_t* path);
