#include "host/win/vtable_patch.h"

#include <windows.h>

#include "host/win/critical_section.h"

namespace {

struct PatchedSlot {
    void* const* table;
    int index;
    void* original;
    int tag;
};

// Few classes present (a device, a swap chain, a surface of each version):
// a fixed list, read on every present without allocating.
constexpr int MaxSlots = 128;

struct Patches {
    CriticalSection lock;
    PatchedSlot slots[MaxSlots];
    int count = 0;
};

Patches& State() {
    static Patches patches;
    return patches;
}

void* const* TableOf(const void* object) { return object ? *static_cast<void* const* const*>(object) : nullptr; }

const PatchedSlot* Find(void* const* table, int index) {
    for (int i = 0; i < State().count; ++i) {
        const PatchedSlot& slot = State().slots[i];
        if (slot.table == table && (index < 0 || slot.index == index)) return &slot;
    }
    return nullptr;
}

}  // namespace

bool PatchVtable(void* object, const VtableSlot* slots, int count, int tag) {
    void* const* table = TableOf(object);
    if (!table) return false;
    Held locked(State().lock);
    int missing = 0, last = 0;
    for (int i = 0; i < count; ++i) {
        if (Find(table, slots[i].index)) continue;
        ++missing;
        if (slots[i].index > last) last = slots[i].index;
    }
    if (!missing) return true;
    if (State().count + missing > MaxSlots) return false;
    if (const PatchedSlot* known = Find(table, -1)) tag = known->tag;
    void** writable = const_cast<void**>(table);
    const SIZE_T size = (last + 1) * sizeof(void*);
    // A table may share its page with code, which must stay executable.
    MEMORY_BASIC_INFORMATION page;
    if (!VirtualQuery(writable, &page, sizeof page)) return false;
    const DWORD executable = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    DWORD previous;
    if (!VirtualProtect(writable, size, page.Protect & executable ? PAGE_EXECUTE_READWRITE : PAGE_READWRITE, &previous))
        return false;
    for (int i = 0; i < count; ++i) {
        if (Find(table, slots[i].index)) continue;
        State().slots[State().count++] = {table, slots[i].index, writable[slots[i].index], tag};
        writable[slots[i].index] = slots[i].replacement;
    }
    VirtualProtect(writable, size, previous, &previous);
    return true;
}

void* OriginalMethod(const void* object, int index) {
    void* const* table = TableOf(object);
    Held locked(State().lock);
    const PatchedSlot* slot = Find(table, index);
    return slot ? slot->original : nullptr;
}

int VtableTag(const void* object) {
    void* const* table = TableOf(object);
    Held locked(State().lock);
    const PatchedSlot* slot = Find(table, -1);
    return slot ? slot->tag : -1;
}
