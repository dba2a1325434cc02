// Reference counting shared by every object the stand-in hands out.
#pragma once

#include <d3d9.h>

// Implements AddRef/Release of Interface: created with one reference, deleted
// when the last one goes. NoteReference lets the recording backend log both.
template <class Interface>
class ComObject : public Interface {
public:
    ULONG AddRef() override {
        ++references_;
        NoteReference("AddRef", references_);
        return references_;
    }

    ULONG Release() override {
        const ULONG left = --references_;
        NoteReference("Release", left);
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    ComObject() = default;
    ~ComObject() override = default;

    virtual void NoteReference(const char* /*call*/, ULONG /*count*/) {}

private:
    ULONG references_ = 1;
};
