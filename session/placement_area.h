#pragma once

#include <QString>
#include <cstdint>

namespace vorlix {

class FlashSession;
class Prompt;
class Settings;

// The placement area in force takes in the whole file, from its first byte
// to its end: the values a firmware met for the first time gets. Bytes that
// read 0xFF in a dump are not always free on the phone (the area then holds
// boot code, build information and the file system too), so such an area
// has not been checked by anyone. False while no file is open (size 0).
bool PlacementAreaUnchecked(const Settings& settings, std::int64_t fileSize);
// The same for an area given as PlaceAdrMin and PlaceAdrMax.
bool PlacementAreaUnchecked(std::int32_t placeMin, std::int32_t placeMax, std::int64_t fileSize);

// The placement area as file offsets, "5E2000–600000".
QString PlacementAreaRange(const Settings& settings);

// The status bar's words on the placement area in force; empty while no
// file is open.
QString PlacementAreaStatus(const Settings& settings, std::int64_t fileSize);

// Before the first placement of new data in an open firmware whose area is
// unchecked: tells the user so, naming the area the data would go to, and
// asks once. Yes is kept for the open firmware; No places nothing and asks
// again next time. True when the placement may go on.
bool ConfirmPlacementArea(FlashSession& session, Prompt& prompt);

}  // namespace vorlix
