#include "vkp/patch_apply.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <tuple>

#include "image/flash_image.h"

namespace vorlix {

namespace {

// The translation context of the apply and undo commands' texts.
struct PatchApply {
    Q_DECLARE_TR_FUNCTIONS(PatchApply)
};

// At most this many records are named in the warning about records
// without old data; the rest are counted.
constexpr int kListedLines = 10;

std::int64_t ImageOffset(const VkpRecord& r, std::int32_t fullFlash) {
    return std::int64_t{fullFlash} + r.address;
}

QString Located(const QString& name, int line, const QString& text) {
    return name.isEmpty() ? PatchApply::tr("строка %1: %2").arg(line).arg(text)
                          : PatchApply::tr("«%1», строка %2: %3").arg(name).arg(line).arg(text);
}

QString Named(const QString& name, const QString& text) {
    return name.isEmpty() ? text : PatchApply::tr("«%1»: %2").arg(name, text);
}

void CheckSource(const PatchSource& source, int index, PatchDirection direction,
                 std::int32_t fullFlash, std::int64_t imageSize, PatchCheck& check) {
    const VkpFile& file = source.file;
    for (const VkpDiagnostic& d : file.errors) check.errors.push_back({index, d.at, d.message});
    for (const VkpDiagnostic& d : file.warnings) check.warnings.push_back({index, d.at, d.message});
    if (!file.ok()) return;
    if (file.records.empty()) {
        check.errors.push_back({index, {}, PatchApply::tr("нет данных патча")});
        return;
    }
    int refused = 0;
    auto refuse = [&](const VkpRecord& r, const QString& message) {
        if (refused++ < kVkpMaxErrors) check.errors.push_back({index, r.at, message});
    };
    QStringList unchecked;  // the lines named in the warning
    int uncheckedCount = 0;
    VkpLocation firstUnchecked;
    for (const VkpRecord& r : file.records) {
        if (!InImage(ImageOffset(r, fullFlash),
                     static_cast<std::int64_t>(r.CheckedEnd() - r.address), imageSize)) {
            refuse(r, PatchApply::tr("данные выходят за пределы образа"));
        } else if (direction == PatchDirection::Undo && r.Has(kUndo) && !r.hasOld) {
            refuse(r, PatchApply::tr("у записи нет данных отката: откатить этот файл нельзя"));
        } else if (direction == PatchDirection::Apply && !r.hasOld && r.Has(kWarnNoOldOnApply)) {
            if (uncheckedCount == 0) firstUnchecked = r.at;
            if (uncheckedCount++ < kListedLines) unchecked << QString::number(r.at.line);
        }
    }
    if (uncheckedCount > 0) {
        if (uncheckedCount > kListedLines) unchecked << QStringLiteral("…");
        check.warnings.push_back(
            {index, firstUnchecked,
             PatchApply::tr("записи без данных отката (%1) будут записаны без проверки; строки %2")
                 .arg(uncheckedCount)
                 .arg(unchecked.join(QStringLiteral(", ")))});
    }
}

// One step of a run: `count` bytes from `bytes` go to the image offset `pos`.
struct Write {
    std::int64_t pos;
    const std::uint8_t* bytes;
    std::uint32_t count;
};

class PatchRun {
  public:
    PatchRun(std::span<const PatchSource> sources, PatchDirection direction, FlashImage& image,
             std::int32_t fullFlash, Prompt& prompt)
        : sources_(sources),
          undo_(direction == PatchDirection::Undo),
          image_(image),
          fullFlash_(fullFlash),
          prompt_(prompt) {}

    // The sources have passed CheckPatches: every record lies in the image,
    // and for undo every record to restore has old data.
    Status Run(ApplyCounts& counts) {
        // The image the records are compared with, as the run changes it.
        const std::uint8_t* start = undo_ ? image_.WorkImage() : image_.BaseImage();
        sequence_.assign(start, start + image_.Size());

        const int n = static_cast<int>(sources_.size());
        for (int k = 0; k < n; ++k) {
            const int index = undo_ ? n - 1 - k : k;
            if (Status status = RunSource(index, counts); !status.ok()) return status;
        }
        std::uint8_t* work = image_.MutableWorkImage();
        std::uint8_t* usage = image_.Usage();
        for (const Write& w : writes_) {
            std::memcpy(work + w.pos, w.bytes, w.count);
            std::memset(usage + w.pos, 0xFF, w.count);
            counts.entries += 1;
            counts.bytes += w.count;
        }
        return Status::Ok();
    }

  private:
    // The bytes a step writes: apply the new bytes, undo as many of the old
    // bytes (old data may be longer: only what apply wrote is put back).
    std::span<const std::uint8_t> Target(const VkpFile& f, const VkpRecord& r) const {
        return undo_ ? f.OldBytes(r).first(r.newCount) : f.NewBytes(r);
    }
    // The bytes that must stand in the image before the step; empty when
    // the record has none to check.
    std::span<const std::uint8_t> Expected(const VkpFile& f, const VkpRecord& r) const {
        return undo_ ? f.NewBytes(r) : f.OldBytes(r);
    }
    bool Holds(const VkpRecord& r, std::span<const std::uint8_t> bytes) const {
        return std::memcmp(sequence_.data() + ImageOffset(r, fullFlash_), bytes.data(),
                           bytes.size()) == 0;
    }

    Status RunSource(int index, ApplyCounts& counts) {
        const PatchSource& source = sources_[static_cast<std::size_t>(index)];
        const VkpFile& file = source.file;
        std::vector<const VkpRecord*> steps;
        steps.reserve(file.records.size());
        for (const VkpRecord& r : file.records) {
            if (!undo_ || r.Has(kUndo)) steps.push_back(&r);
        }
        if (undo_) std::reverse(steps.begin(), steps.end());
        if (steps.empty()) return Status::Ok();

        bool checking = true;
        if (AlreadyDone(file, steps)) {
            const QString caption =
                undo_ ? PatchApply::tr("Патч уже откачен") : PatchApply::tr("Патч уже применён");
            const QString text =
                undo_ ? PatchApply::tr(
                            "Все записи уже содержат данные отката: похоже, патч уже откачен "
                            "или не применялся. Откатить его ещё раз?")
                      : PatchApply::tr(
                            "Все записи уже содержат новые данные: похоже, патч уже применён. "
                            "Применить его ещё раз?");
            if (prompt_.Ask(caption, Named(source.name, text), Buttons::YesNo) != Answer::Yes) {
                ++counts.skippedFiles;
                return Status::Ok();
            }
            checking = false;
            counts.checkedAll = false;
        }
        for (const VkpRecord* r : steps) {
            const std::span<const std::uint8_t> expected = Expected(file, *r);
            if (checking && !expected.empty() && !Holds(*r, expected)) {
                const QString question = MismatchQuestion(source, *r);
                if (prompt_.Ask(kCaptionError, question, Buttons::YesNo) != Answer::Yes) {
                    return Status::Cancelled(question);
                }
                checking = false;
                counts.checkedAll = false;
            }
            const std::span<const std::uint8_t> target = Target(file, *r);
            const std::int64_t pos = ImageOffset(*r, fullFlash_);
            std::memcpy(sequence_.data() + pos, target.data(), target.size());
            writes_.push_back({pos, target.data(), static_cast<std::uint32_t>(target.size())});
        }
        return Status::Ok();
    }

    // True when the file's first step asks for the test, every step already
    // holds what it would write, and some step would change something (a
    // patch whose old and new bytes agree throughout changes nothing and is
    // simply run).
    bool AlreadyDone(const VkpFile& file, const std::vector<const VkpRecord*>& steps) const {
        if (!steps.front()->Has(undo_ ? kWarnIfOldExistOnUndo : kWarnIfNewExistOnApply))
            return false;
        bool changes = false;
        for (const VkpRecord* r : steps) {
            const std::span<const std::uint8_t> target = Target(file, *r);
            if (!Holds(*r, target)) return false;
            const std::span<const std::uint8_t> expected = Expected(file, *r);
            if (expected.empty() || !std::equal(target.begin(), target.end(), expected.begin()))
                changes = true;
        }
        return changes;
    }

    QString MismatchQuestion(const PatchSource& source, const VkpRecord& r) const {
        if (undo_)
            return Located(source.name, r.at.line,
                           PatchApply::tr("Данные патча не совпадают. Откатывать патч?"));
        // One patch applied asks as the command always has.
        if (sources_.size() == 1) return kMismatchQuestion;
        return Located(source.name, r.at.line, kMismatchQuestion);
    }

    std::span<const PatchSource> sources_;
    bool undo_;
    FlashImage& image_;
    std::int32_t fullFlash_;
    Prompt& prompt_;
    std::vector<std::uint8_t> sequence_;
    std::vector<Write> writes_;
};

}  // namespace

PatchCheck CheckPatches(std::span<const PatchSource> sources, PatchDirection direction,
                        std::int32_t fullFlash, std::int64_t imageSize) {
    PatchCheck check;
    for (std::size_t i = 0; i < sources.size(); ++i)
        CheckSource(sources[i], static_cast<int>(i), direction, fullFlash, imageSize, check);
    auto order = [](const PatchProblem& a, const PatchProblem& b) {
        return std::tie(a.source, a.at.line, a.at.column) <
               std::tie(b.source, b.at.line, b.at.column);
    };
    std::stable_sort(check.errors.begin(), check.errors.end(), order);
    std::stable_sort(check.warnings.begin(), check.warnings.end(), order);
    return check;
}

QString PatchProblemText(const PatchProblem& problem, std::span<const PatchSource> sources) {
    const QString& name = sources[static_cast<std::size_t>(problem.source)].name;
    if (problem.at.line == 0) return Named(name, problem.message);
    return name.isEmpty() ? PatchApply::tr("строка %1, столбец %2: %3")
                                .arg(problem.at.line)
                                .arg(problem.at.column)
                                .arg(problem.message)
                          : PatchApply::tr("«%1», строка %2, столбец %3: %4")
                                .arg(name)
                                .arg(problem.at.line)
                                .arg(problem.at.column)
                                .arg(problem.message);
}

QString PatchProblemsText(std::span<const PatchProblem> problems,
                          std::span<const PatchSource> sources, int shown) {
    QStringList lines;
    const int n = static_cast<int>(problems.size());
    for (int i = 0; i < n && i < shown; ++i)
        lines << PatchProblemText(problems[static_cast<std::size_t>(i)], sources);
    if (n > shown) lines << PatchApply::tr("… и ещё %1").arg(n - shown);
    return lines.join(QLatin1Char('\n'));
}

Status RunPatches(std::span<const PatchSource> sources, PatchDirection direction, FlashImage& image,
                  std::int32_t fullFlash, Prompt& prompt, ApplyCounts* counts) {
    if (const PatchCheck check = CheckPatches(sources, direction, fullFlash, image.Size());
        !check.ok())
        return Status::InvalidArgument(PatchProblemsText(check.errors, sources));
    ApplyCounts local;
    const Status status = PatchRun(sources, direction, image, fullFlash, prompt).Run(local);
    if (status.ok() && counts) *counts = local;
    return status;
}

Status ApplyPatchSources(std::span<const PatchSource> sources, PatchDirection direction,
                         FlashImage& image, std::int32_t fullFlash, Prompt& prompt,
                         const PatchWarnings& warn, ApplyCounts* counts) {
    const PatchCheck check = CheckPatches(sources, direction, fullFlash, image.Size());
    if (!check.ok()) return Status::InvalidArgument(PatchProblemsText(check.errors, sources));
    if (!check.warnings.empty() && warn) warn(PatchProblemsText(check.warnings, sources));
    return RunPatches(sources, direction, image, fullFlash, prompt, counts);
}

Status ApplyPatchText(FlashImage& image, std::int32_t fullFlash, const QByteArray& text,
                      Prompt& prompt, const PatchWarnings& warn, ApplyCounts* counts) {
    const PatchSource source{QString(), ReadVkp(text)};
    return ApplyPatchSources(std::span(&source, 1), PatchDirection::Apply, image, fullFlash, prompt,
                             warn, counts);
}

}  // namespace vorlix
