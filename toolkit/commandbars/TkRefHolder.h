// Replacing a held reference on one of the toolkit's reference-counted command targets (bars,
// controls, painters, icon stores). A reference held for one scope is the class library's
// CHoldRef.
#pragma once

// Stores value in slot with a reference of its own; the old value's reference is released.
template <class T>
void TkReplaceRef(T*& slot, T* value) {
    if (slot == value) return;
    if (value) value->InternalAddRef();
    T* old = slot;
    slot = value;
    if (old) old->InternalRelease();
}
