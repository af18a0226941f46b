// Creating report files that every user may append to: the world-access descriptor and the file.
#include "platform/report_security_win32.h"

#include <aclapi.h>

#include "platform/debug_trace.h"

WorldAccessDescriptor::~WorldAccessDescriptor() {
    if (world_ != nullptr) FreeSid(world_);
    if (acl_ != nullptr) LocalFree(acl_);
    if (descriptor_ != nullptr) LocalFree(descriptor_);
}

bool WorldAccessDescriptor::Build() {
    SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    if (!AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                  &world_)) {
        world_ = nullptr;
        DebugPrint(L"AllocateAndInitializeSid Error %u\n", GetLastError());
        return false;
    }
    EXPLICIT_ACCESSW access = {};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPWSTR>(world_);
    DWORD status = SetEntriesInAclW(1, &access, nullptr, &acl_);
    if (status != ERROR_SUCCESS) {
        acl_ = nullptr;
        DebugPrint(L"SetEntriesInAcl Error %u\n", status);
        return false;
    }
    descriptor_ = LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH);
    if (descriptor_ == nullptr) {
        DebugPrint(L"LocalAlloc Error %u\n", GetLastError());
        return false;
    }
    if (!InitializeSecurityDescriptor(descriptor_, SECURITY_DESCRIPTOR_REVISION)) {
        DebugPrint(L"InitializeSecurityDescriptor Error %u\n", GetLastError());
        return false;
    }
    if (!SetSecurityDescriptorDacl(descriptor_, TRUE, acl_, FALSE)) {
        DebugPrint(L"SetSecurityDescriptorDacl Error %u\n", GetLastError());
        return false;
    }
    return true;
}

bool CreateWorldAccessibleFile(const wchar_t* path) {
    WorldAccessDescriptor security;
    if (!security.Build()) return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, security.Descriptor(), FALSE};
    HANDLE file = CreateFileW(path, 0, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DebugPrint(L"Failure creating secure file.%d", static_cast<int>(GetLastError()));
        return false;
    }
    CloseHandle(file);
    return true;
}
