// Points methods of COM objects the plug-in gets (a Direct3D device, a
// DirectDraw surface) at the host's functions by rewriting their method
// table. Objects of one class share a table, so each table is patched once,
// and the hooks find the platform's method again from the object they are
// called on.
#pragma once

struct VtableSlot {
    int index;  // the method's place in the table
    void* replacement;
};

// Patches those of `slots` of the table of `object` (a COM interface
// pointer) that were not patched before; `tag` is kept with the table (what
// kind of interface it serves) from its first patch on. False when the table
// cannot be written.
bool PatchVtable(void* object, const VtableSlot* slots, int count, int tag = 0);

// The platform's method in slot `index` of the object's table; null when the
// table or the slot was never patched.
void* OriginalMethod(const void* object, int index);

template <typename Method>
Method Original(const void* object, int index) {
    return reinterpret_cast<Method>(OriginalMethod(object, index));
}

// The tag given when the object's table was patched; -1 when it was not.
int VtableTag(const void* object);
