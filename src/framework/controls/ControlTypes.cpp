#include "framework/controls/ControlTypes.h"

namespace emr {

platform::TCursorShape CursorShape(TCursor cursor) {
    using platform::TCursorShape;
    switch (cursor) {
    case crSizeAll:
    case crDrag:
    case crMultiDrag:
        return TCursorShape::Move;
    case crSizeWE:
    case crHSplit:
        return TCursorShape::SizeWE;
    case crSizeNS:
    case crVSplit:
        return TCursorShape::SizeNS;
    case crHandPoint:
        return TCursorShape::HandPoint;
    case crIBeam:
        return TCursorShape::IBeam;
    case crHourGlass:
    case crSQLWait:
    case crAppStart:
        return TCursorShape::Wait;
    default:
        return TCursorShape::Arrow;
    }
}

} // namespace emr
