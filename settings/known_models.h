#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>

namespace vorlix {

// A phone whose firmware the program knows without a settings file: where
// its dump lies in the address space, how long a whole dump is, and the
// largest picture its screen shows. The first open of such a model takes
// these values instead of guessing them; stored settings always win.
struct KnownModel {
    const char* name;        // as the firmware's build information names it ("C55")
    std::int32_t fullFlash;  // image offset of the dump's first byte
    std::int64_t dumpSize;   // bytes of a whole dump
    std::int32_t maxSizeX;   // the screen's width and height in pixels
    std::int32_t maxSizeY;
};

// Every known model, in the order lists show them.
std::span<const KnownModel> KnownModels();
// Their names, in that order.
QStringList KnownModelNames();

// The known model named `name`, compared without regard to case; null for
// a name the table does not hold.
const KnownModel* FindKnownModel(const QString& name);

// The known model of a model-and-version text ("C55v50", or a model's name
// alone as a choice gives it); null when its model is not in the table.
const KnownModel* KnownModelOf(const QString& modelAndVersion);

}  // namespace vorlix
