#include "patch/installed_stack.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstring>

#include "patch/patch_apply.h"
#include "settings/settings.h"

namespace vorlix {

namespace {

struct InstalledPatches {
    Q_DECLARE_TR_FUNCTIONS(InstalledPatches)
};

// Bytes named in a message about a record: enough to recognise them.
constexpr std::size_t kShownBytes = 16;

std::int64_t ImageOffset(const VkpRecord& r, std::int32_t fullFlash) {
    return std::int64_t{fullFlash} + r.address;
}

QString AddressText(std::uint32_t address) {
    return QStringLiteral("%1").arg(address, 6, 16, QLatin1Char('0')).toUpper();
}

// Where a patch that does not fit first disagrees with the image.
QString MisfitText(const VkpFile& file, const VkpRecord& r, const std::uint8_t* at) {
    const std::span<const std::uint8_t> old = file.OldBytes(r);
    const std::span<const std::uint8_t> found(at, old.size());
    QString text = InstalledPatches::tr("строка %1, адрес %2: ожидались байты %3, в образе %4")
                       .arg(r.at.line)
                       .arg(AddressText(r.address), ShownBytes(old), ShownBytes(found));
    const std::span<const std::uint8_t> now = file.NewBytes(r);
    if (std::memcmp(at, now.data(), now.size()) == 0)
        text += InstalledPatches::tr(" (новые байты этой записи: патч применён лишь частично?)");
    return text;
}

class Stacker {
  public:
    Stacker(std::uint8_t* base, std::int32_t fullFlash, PatchStack& stack)
        : base_(base), fullFlash_(fullFlash), stack_(stack) {}

    // Writes the file's records in order, each checked against the image as
    // the records before it left it; at the first that does not hold its
    // old bytes everything this file wrote is taken back and `misfit` says
    // where.
    bool Apply(const VkpFile& file, QString& misfit) {
        const std::size_t rangesBefore = stack_.replacedRanges.size();
        const std::size_t bytesBefore = stack_.replacedBytes.size();
        for (const VkpRecord& r : file.records) {
            std::uint8_t* at = base_ + ImageOffset(r, fullFlash_);
            const std::span<const std::uint8_t> old = file.OldBytes(r);
            if (!old.empty() && std::memcmp(at, old.data(), old.size()) != 0) {
                misfit = MisfitText(file, r, at);
                TakeBack(rangesBefore, bytesBefore);
                return false;
            }
            const std::span<const std::uint8_t> now = file.NewBytes(r);
            stack_.replacedRanges.push_back({static_cast<std::int32_t>(ImageOffset(r, fullFlash_)),
                                             static_cast<std::int32_t>(now.size())});
            stack_.replacedBytes.insert(stack_.replacedBytes.end(), at, at + now.size());
            std::memcpy(at, now.data(), now.size());
        }
        return true;
    }

    void Reserve(const VkpFile& file) {
        for (const VkpRecord& r : file.records)
            stack_.reserved.push_back({static_cast<std::int32_t>(ImageOffset(r, fullFlash_)),
                                       static_cast<std::int32_t>(r.newCount)});
    }

    // Takes back everything written since the stack held this many ranges
    // and bytes, last first.
    void TakeBack(std::size_t ranges, std::size_t bytes) {
        std::size_t end = stack_.replacedBytes.size();
        for (std::size_t i = stack_.replacedRanges.size(); i-- > ranges;) {
            const ImageRange& range = stack_.replacedRanges[i];
            end -= static_cast<std::size_t>(range.length);
            std::memcpy(base_ + range.pos, stack_.replacedBytes.data() + end,
                        static_cast<std::size_t>(range.length));
        }
        stack_.replacedRanges.resize(ranges);
        stack_.replacedBytes.resize(bytes);
    }

  private:
    std::uint8_t* base_;
    std::int32_t fullFlash_;
    PatchStack& stack_;
};

bool SkipOrCancel(Prompt& prompt, const QString& problem) {
    return prompt.Ask(InstalledPatches::tr("Установленные патчи"),
                      problem + QLatin1Char('\n') +
                          InstalledPatches::tr(
                              "Пропустить этот патч и продолжить? «Нет» отменяет открытие."),
                      Buttons::YesNo) == Answer::Yes;
}

}  // namespace

QString ShownBytes(std::span<const std::uint8_t> bytes) {
    QString text;
    const std::size_t n = std::min(bytes.size(), kShownBytes);
    for (std::size_t i = 0; i < n; ++i)
        text += QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
    if (bytes.size() > n) text += QStringLiteral("…");
    return text;
}

bool PatchPresent(const VkpFile& file, const std::uint8_t* image, std::int32_t fullFlash) {
    if (file.records.empty()) return false;
    for (const VkpRecord& r : file.records) {
        const std::span<const std::uint8_t> now = file.NewBytes(r);
        if (std::memcmp(image + ImageOffset(r, fullFlash), now.data(), now.size()) != 0)
            return false;
    }
    return true;
}

Status StackInstalledPatches(const InstalledPatchList& patches, std::uint8_t* base,
                             std::int32_t fullFlash, Prompt& prompt, PatchStack& stack) {
    stack = PatchStack();
    Stacker stacker(base, fullFlash, stack);
    auto cancel = [&] {
        stacker.TakeBack(0, 0);
        return Status::Cancelled(InstalledPatches::tr("Открытие отменено"));
    };
    for (const InstalledPatch& patch : patches) {
        StackedPatch& entry = stack.patches.emplace_back();
        entry.patch = patch;
        if (!patch.on) continue;

        PatchSource source{QFileInfo(patch.path).fileName(), {}};
        if (Status read = ReadVkpFile(patch.path, source.file); !read.ok()) {
            entry.state = StackState::Error;
            entry.note = read.message();
        } else {
            entry.records = static_cast<int>(source.file.records.size());
            const PatchCheck check =
                CheckPatches(std::span(&source, 1), PatchDirection::Apply, fullFlash);
            if (!check.ok()) {
                entry.state = StackState::Error;
                entry.note = PatchProblemsText(check.errors, std::span(&source, 1), 5);
            }
        }
        if (entry.state == StackState::Error) {
            const QString problem =
                InstalledPatches::tr("Патч «%1» не прочитан:\n%2").arg(source.name, entry.note);
            if (!SkipOrCancel(prompt, problem)) return cancel();
            continue;
        }

        const VkpFile& file = source.file;
        QString misfit;
        if (PatchPresent(file, base, fullFlash)) {
            entry.state = StackState::Present;
        } else if (stacker.Apply(file, misfit)) {
            entry.state = StackState::Applied;
        } else {
            entry.state = StackState::Skipped;
            entry.note = misfit;
            const QString problem =
                InstalledPatches::tr("Патч «%1» не подходит к этому FullFlash:\n%2")
                    .arg(source.name, misfit);
            if (!SkipOrCancel(prompt, problem)) return cancel();
            continue;
        }
        stacker.Reserve(file);
    }
    return Status::Ok();
}

void UnstackPatches(const PatchStack& stack, std::uint8_t* image) {
    std::size_t end = stack.replacedBytes.size();
    for (std::size_t i = stack.replacedRanges.size(); i-- > 0;) {
        const ImageRange& range = stack.replacedRanges[i];
        end -= static_cast<std::size_t>(range.length);
        std::memcpy(image + range.pos, stack.replacedBytes.data() + end,
                    static_cast<std::size_t>(range.length));
    }
}

OpenOutcome OpenFullFlashStacked(FlashSession& session, const QString& path, OpenHooks hooks,
                                 const std::function<InstalledPatchList()>& patches, Prompt& prompt,
                                 PatchStack& stack) {
    PatchStack next;
    const auto status = hooks.status;
    hooks.placed = [&](std::uint8_t* base, std::vector<ImageRange>& reserved) {
        const InstalledPatchList list = patches ? patches() : InstalledPatchList();
        if (list.empty()) return true;
        if (status) status(InstalledPatches::tr("Наложение установленных патчей"));
        if (!StackInstalledPatches(list, base, session.settings().FullFlash, prompt, next).ok())
            return false;
        reserved = next.reserved;
        return true;
    };
    OpenOutcome outcome = OpenFullFlash(session, path, hooks);
    if (outcome.result == OpenResult::Opened || outcome.result == OpenResult::Stopped)
        stack = std::move(next);
    return outcome;
}

QString StackStateText(StackState state) {
    switch (state) {
        case StackState::Off:
            return InstalledPatches::tr("выключен");
        case StackState::Present:
            return InstalledPatches::tr("уже в дампе");
        case StackState::Applied:
            return InstalledPatches::tr("применён");
        case StackState::Skipped:
            return InstalledPatches::tr("пропущен");
        case StackState::Error:
            return InstalledPatches::tr("ошибка");
    }
    return {};
}

}  // namespace vorlix
