#pragma once

#include <QString>

namespace vorlix {

class FlashSession;
class Picture;
class Settings;

// The "PIT" of a picture: the file offset of its index record, "%06X", as
// the list shows it and the filter matches it.
QString PitText(const Picture& picture, const Settings& settings);
// The "Data" of a picture: the file offset of its data, "%06X".
QString DataText(const Picture& picture, const Settings& settings);
// "PIT_<PIT>": the name a picture's file has when it is saved under an
// automatic name or exported, and the name a batch loads it back by. Empty
// for a row that does not exist.
QString PitFileName(const FlashSession& session, int row);

}  // namespace vorlix
