#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace emr {

/// Formats a date and time with a Windows date/time picture: d dd ddd dddd, M MM MMM
/// MMMM, y yy yyyy, h hh H HH, m mm, s ss, t tt (first character / whole AM or PM
/// designator), g (era, left out), and 'quoted literals' ('' is a quote). Any other
/// character is copied. Day and month names are English.
std::string FormatDateTimePicture(std::string_view picture, const std::tm& time,
                                  std::string_view amDesignator, std::string_view pmDesignator);

/// Translates a C library date/time format (nl_langinfo's D_FMT, T_FMT) into a
/// Windows picture: %Y -> yyyy, %m -> MM, %d -> dd, %H -> HH, %M -> mm, %S -> ss,
/// %I -> hh, %p -> tt, and so on. Literal text is quoted where needed.
std::string PictureFromStrftime(std::string_view format);

} // namespace emr
