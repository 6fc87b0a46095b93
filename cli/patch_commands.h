#pragma once

#include <QIODevice>
#include <QStringList>
#include <span>
#include <vector>

#include "cli/commands.h"
#include "vkp/patch_apply.h"

namespace vorlix {

// Reads the patch files named on the command line, each under its name as
// given; false, with the message written to `err`, when one cannot be read.
bool ReadPatchSources(QIODevice& err, const QStringList& files, std::vector<PatchSource>& sources);

// Writes errors, then warnings, one a line in the compilers' form
// "FILE:LINE:COL: message" ("FILE: message" for a file as a whole).
void WritePatchProblems(QIODevice& err, const PatchCheck& check,
                        std::span<const PatchSource> sources);

// "parse PATCH...": every record one line "ADDR OLD NEW" (the file name and
// a tab first when there are several files); problems to the error stream.
int ParseCommand(const CliContext& cx, const QStringList& files);

// "check FLASH PATCH...": the conflicts of the patches flashed one after
// the other onto the FullFlash, one finding a line; exit status 1 when
// there is an overlap or a mismatch (or a patch cannot be read).
int CheckCommand(const CliContext& cx, const QString& flash, const QStringList& files);

}  // namespace vorlix
