#pragma once

#include <functional>
#include <vector>

#include "framework/core/Component.h"
#include "styling/StylerClient.h"

namespace emr {

/// A component that registers with stylers and records the change codes it hears.
class TStylerClientProbe : public TComponent, public IStylerClient {
    EMR_CLASS(TStylerClientProbe)
public:
    explicit TStylerClientProbe(TComponent* owner = nullptr, std::vector<int>* log = nullptr)
        : TComponent(owner), log_(log) {}

    void StylerChanged(int code) override {
        Codes.push_back(code);
        if (log_) log_->push_back(Tag);
        if (OnChanged) OnChanged(code);
    }
    IStylerClient* CompactWindowClient() override { return Compact; }

    std::vector<int> Codes;
    int Tag = 0;
    IStylerClient* Compact = nullptr;
    std::function<void(int)> OnChanged;

private:
    std::vector<int>* log_;
};

} // namespace emr
