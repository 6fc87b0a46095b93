#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <optional>

#include "picture/picture.h"

namespace vorlix {

// What every command gets from the command line.
struct CliContext {
    QIODevice& out;
    QIODevice& err;
    QString settingsPath;  // empty: the default store
    bool answerYes = false;
    QStringList with;  // patches installed on the phone (--with), in order
    // The model of a FullFlash that names none (--model): a known model or
    // a model-and-version text; empty: none.
    QString model;
};

struct PatchCommandOptions {
    QString output;  // empty: stdout
    std::optional<std::int32_t> lineLength;
    bool plain = false;
    std::optional<QString> author;
};

// Each returns the process's exit status.
int InfoCommand(const CliContext& cx, const QString& flash);
int ListCommand(const CliContext& cx, const QString& flash, std::optional<bool> scanRecords);
int ExportCommand(const CliContext& cx, const QString& flash, const QString& dir,
                  PictureFileFormat format = PictureFileFormat::Bmp);
int PatchCommand(const CliContext& cx, const QString& flash, const QStringList& files,
                 const PatchCommandOptions& options);
// Applies the patches in the order given, or with `undo` takes them out in
// reverse order; all or nothing.
int ApplyCommand(const CliContext& cx, const QString& flash, const QStringList& patches,
                 const QString& output, bool undo);
int FillCommand(const CliContext& cx, const QString& flash);
int SampleCommand(const CliContext& cx, const QString& output);

// True when `a` and `b` name the same file (the same canonical path, or the
// same file reached through another link).
bool SameFile(const QString& a, const QString& b);

}  // namespace vorlix
