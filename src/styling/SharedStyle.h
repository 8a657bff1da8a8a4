#pragma once

namespace emr {

/// Lets a component pick its look from a common style number that toolbars hand
/// to child controls (0..15; 8 means none).
class ISharedStyle {
public:
    virtual ~ISharedStyle() = default;
    virtual void SetSharedStyle(int styleNumber) = 0;
};

} // namespace emr
