#pragma once

#include <functional>

namespace emr {

class TObject;

/// The plain event: "something happened to Sender".
using TNotifyEvent = std::function<void(TObject* sender)>;

} // namespace emr
