#pragma once

// Function-publishing interfaces: descriptors of interfaces that classes publish to the host.
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

class ClassDesc;

class SDK_API BaseInterface {
public:
    virtual ~BaseInterface();
    virtual Interface_ID GetID() { return Interface_ID(0, 0); }
};

class FPInterfaceDesc;

class SDK_API FPInterface : public BaseInterface {
public:
    ~FPInterface() override;
    virtual FPInterfaceDesc* GetDesc() = 0;
};

class SDK_API FPInterfaceDesc : public FPInterface {
public:
    FPInterfaceDesc() = default;
    // Same as LoadDescriptor with the same arguments.
    FPInterfaceDesc(Interface_ID id, const MCHAR* internalName, StringResID description, ClassDesc* cd,
                    ULONG flags, ...);

    // Fills the descriptor; the argument list ends with p_end (this host publishes no functions). With a
    // class descriptor, the interface joins that class's published interfaces. The flags are taken as ULONG
    // (and kept as USHORT): the last parameter before "..." must be of a type that does not promote.
    void LoadDescriptor(Interface_ID id, const MCHAR* internalName, StringResID description, ClassDesc* cd,
                        ULONG flags, ...);

    Interface_ID GetID() override { return id; }
    FPInterfaceDesc* GetDesc() override { return this; }
    const MCHAR* InternalName() const { return internalName.c_str(); }
    StringResID Description() const { return description; }
    ClassDesc* GetClassDesc() const { return cd; }
    USHORT Flags() const { return flags; }
    virtual HINSTANCE HInstance();

private:
    Interface_ID id;
    MSTR internalName;
    StringResID description = 0;
    ClassDesc* cd = nullptr;
    USHORT flags = 0;
};

// An interface published by a class rather than by its instances.
class SDK_API FPStaticInterface : public FPInterfaceDesc {
public:
    ~FPStaticInterface() override;
};
