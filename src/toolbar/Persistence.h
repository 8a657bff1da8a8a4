#pragma once

#include <string>

#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace emr {

enum class TPersistenceLocation { plRegistry, plIniFile };

/// Where and whether a dock panel or toolbar saves its layout. Every setter that
/// changes a value raises OnChange; Assign copies silently.
class TPersistence : public TPersistent {
    EMR_CLASS(TPersistence)
public:
    TPersistenceLocation Location() const { return location_; }
    void SetLocation(TPersistenceLocation value);
    const std::string& Key() const { return key_; }
    void SetKey(const std::string& value);
    const std::string& Section() const { return section_; }
    void SetSection(const std::string& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    /// Copies all four values from another record without raising OnChange;
    /// other sources are ignored.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TPersistenceLocation location_ = TPersistenceLocation::plRegistry;
    std::string key_;
    std::string section_;
    bool enabled_ = false;
};

} // namespace emr
