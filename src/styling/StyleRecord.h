#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace emr {

/// Base of the styling records that announce every real change through OnChange.
class TStyleRecord : public TPersistent {
    EMR_CLASS(TStyleRecord)
public:
    TNotifyEvent OnChange;

protected:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    template <class T> void Update(T& field, T value) {
        if (field == value) return;
        field = value;
        Changed();
    }
};

/// Declares a getter and a setter that notifies on a real change.
#define EMR_RECORD_PROPERTY(Type, Name, field)                                                               \
    Type Name() const {                                                                                      \
        return field;                                                                                        \
    }                                                                                                        \
    void Set##Name(Type value) {                                                                             \
        Update(field, value);                                                                                \
    }

} // namespace emr
