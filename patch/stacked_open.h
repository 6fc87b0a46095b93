#pragma once

#include <QString>
#include <functional>

#include "common/prompt.h"
#include "session/open_flash.h"
#include "settings/installed_patches.h"
#include "vkp/installed_stack.h"

namespace vorlix {

class FlashSession;

// The open procedure with the installed patches brought on after the
// FullFlash is placed: `patches` names them once the model is known (the
// window reads the model's list, the command line gives its own files).
// `stack` receives the outcome of an open that replaced the image; an open
// that was called off or not opened leaves it as it was. `prompt` asks
// about a patch that does not fit.
OpenOutcome OpenFullFlashStacked(FlashSession& session, const QString& path, OpenHooks hooks,
                                 const std::function<InstalledPatchList()>& patches, Prompt& prompt,
                                 PatchStack& stack);

}  // namespace vorlix
