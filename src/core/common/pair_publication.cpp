#include "core/common/pair_publication.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/common/regular_file.h"

// The journal of a publication is a short text file beside the first file: one
// line per file, "1 NAME" when the file existed before (its previous copy was
// kept) or "0 NAME" when it did not, then "end". A journal without that last line
// was cut while it was written, before any rename.

namespace pictor {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournalEnd = "end\n";
// A journal is a few short lines; anything longer is not one of ours.
constexpr std::uint64_t kMaxJournalBytes = 4096;

fs::path Beside(const fs::path& path, std::string_view suffix) {
    fs::path name = path;
    name.replace_filename(PathFromUtf8("." + Utf8FromPath(path.filename()) + std::string(suffix)));
    return name;
}

fs::path JournalPath(const fs::path& firstRequested) {
    return Beside(firstRequested, ".publishing");
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// One file a journal names: the path it was published under and whether it existed.
struct JournalEntry {
    fs::path requested;
    bool existed = false;
};

// Keeps the current `target` as its previous copy. False when it exists and cannot
// be kept, or is a folder, which no rename may replace.
bool KeepPrevious(SaveCalls& calls, const fs::path& target, bool& existed) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(target, error);
    existed = fs::exists(status);
    if (!existed) {
        return true;
    }
    if (fs::is_directory(status)) {
        return false;
    }
    const fs::path previous = PreviousCopyPath(target);
    return calls.Remove(previous) && calls.KeepCopy(target, previous);
}

bool WriteJournal(SaveCalls& calls, const fs::path& journal,
                  std::initializer_list<JournalEntry> entries) {
    std::string text;
    for (const JournalEntry& entry : entries) {
        text += entry.existed ? "1 " : "0 ";
        text += Utf8FromPath(entry.requested.filename());
        text += '\n';
    }
    text += kJournalEnd;
    if (!calls.Remove(journal)) {
        return false;
    }
    const int fd = calls.CreateNew(journal);
    if (fd < 0) {
        return false;
    }
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    const bool written = calls.Write(fd, bytes) && calls.SyncData(fd);
    return calls.Close(fd) && written;
}

// Puts the previous copy of `target` back, or removes `target` when it did not
// exist before. False only when a previous copy is there and cannot be put back:
// a new file that cannot be removed loses nothing old, so it is no reason to keep
// the journal.
bool PutBack(SaveCalls& calls, const fs::path& target, bool existed) {
    if (!existed) {
        calls.Remove(target);
        return true;
    }
    const fs::path previous = PreviousCopyPath(target);
    if (!Exists(previous)) {
        return true;
    }
    std::error_code error;
    return calls.Replace(previous, target, error);
}

// Syncs each distinct folder of `paths` once.
void SyncFolders(SaveCalls& calls, const std::vector<fs::path>& paths) {
    std::vector<fs::path> done;
    for (const fs::path& path : paths) {
        fs::path folder = path.parent_path();
        if (std::find(done.begin(), done.end(), folder) == done.end()) {
            calls.SyncDirectory(folder);
            done.push_back(std::move(folder));
        }
    }
}

// What a journal holds: the files among `finals` it names, and whether it is complete.
struct Journal {
    std::vector<JournalEntry> entries;
    bool complete = false;
};

std::optional<Journal> ReadJournal(const fs::path& path, std::span<const fs::path> finals) {
    const std::optional<RegularFile> file = RegularFile::Open(path, FileAccess::Read);
    const std::optional<std::vector<std::uint8_t>> bytes =
        file ? file->ReadAll(kMaxJournalBytes) : std::nullopt;
    if (!bytes) {
        return std::nullopt;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    Journal journal;
    journal.complete = text.ends_with(kJournalEnd);
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string_view::npos;
         start = end + 1, end = text.find('\n', start)) {
        const std::string_view line = text.substr(start, end - start);
        if (line.size() < 3 || (line[0] != '0' && line[0] != '1') || line[1] != ' ') {
            continue;
        }
        const std::string_view name = line.substr(2);
        for (const fs::path& final : finals) {
            if (Utf8FromPath(final.filename()) == name) {
                journal.entries.push_back({final, line[0] == '1'});
            }
        }
    }
    return journal;
}

// Removes a publication's journal first (without it the pair in place stands),
// then the previous copies of its files.
void RemoveLeftovers(SaveCalls& calls, const fs::path& journal,
                     std::initializer_list<fs::path> targets) {
    calls.Remove(journal);
    for (const fs::path& target : targets) {
        calls.Remove(PreviousCopyPath(target));
    }
}

}  // namespace

fs::path PreviousCopyPath(const fs::path& target) {
    return Beside(target, ".previous");
}

PairPublish PublishPair(SaveFile& first, SaveFile& second, const PublishHook& afterFirstRename) {
    if (!first.Finished()) {
        return PairPublish::FirstFailed;
    }
    if (!second.Finished()) {
        return PairPublish::SecondFailed;
    }
    SaveCalls& calls = first.Calls();
    const fs::path& firstTarget = first.Target();
    const fs::path& secondTarget = second.Target();
    const fs::path journal = JournalPath(first.RequestedPath());
    const auto fail = [&](PairPublish result) {
        RemoveLeftovers(calls, journal, {firstTarget, secondTarget});
        return result;
    };
    bool firstExisted = false;
    bool secondExisted = false;
    if (!KeepPrevious(calls, firstTarget, firstExisted)) {
        return fail(PairPublish::FirstFailed);
    }
    if (!KeepPrevious(calls, secondTarget, secondExisted)) {
        return fail(PairPublish::SecondFailed);
    }
    if (!WriteJournal(
            calls, journal,
            {{first.RequestedPath(), firstExisted}, {second.RequestedPath(), secondExisted}})) {
        return fail(PairPublish::FirstFailed);
    }
    // The journal and the previous copies are on the disk before anything is renamed.
    SyncFolders(calls, {journal, firstTarget, secondTarget});
    if (!first.RenameIntoPlace()) {
        return fail(PairPublish::FirstFailed);
    }
    const PublishStep step = afterFirstRename ? afterFirstRename() : PublishStep::Continue;
    if (step == PublishStep::Abandon) {
        return PairPublish::SecondFailed;
    }
    if (step == PublishStep::Fail || !second.RenameIntoPlace()) {
        if (!PutBack(calls, firstTarget, firstExisted)) {
            // The old first file lives on only in its copy: the journal keeps it.
            return PairPublish::PutBackFailed;
        }
        SyncFolders(calls, {firstTarget});
        return fail(PairPublish::SecondFailed);
    }
    // Both renames are durable before the journal goes.
    SyncFolders(calls, {journal, firstTarget, secondTarget});
    RemoveLeftovers(calls, journal, {firstTarget, secondTarget});
    SyncFolders(calls, {journal});
    return PairPublish::Published;
}

PublicationRecovery RecoverInterruptedPublications(std::span<const fs::path> finals,
                                                   SaveCalls& calls) {
    PublicationRecovery result;
    std::vector<fs::path> stillNamed;  // files a journal that stays names
    for (const fs::path& owner : finals) {
        const fs::path journalPath = JournalPath(owner);
        if (!Exists(journalPath)) {
            continue;
        }
        const std::optional<Journal> journal = ReadJournal(journalPath, finals);
        if (!journal) {
            // Unreadable: which files it names is unknown, so every copy stays.
            stillNamed.assign(finals.begin(), finals.end());
            result.kept.push_back(journalPath);
            continue;
        }
        bool restored = true;
        if (journal->complete) {
            for (const JournalEntry& entry : journal->entries) {
                restored = PutBack(calls, SaveTarget(entry.requested), entry.existed) && restored;
            }
        }
        if (!restored) {
            for (const JournalEntry& entry : journal->entries) {
                stillNamed.push_back(entry.requested);
                const fs::path previous = PreviousCopyPath(SaveTarget(entry.requested));
                if (Exists(previous)) {
                    result.kept.push_back(previous);
                }
            }
            continue;
        }
        // What was put back is durable before the journal that names it goes.
        std::vector<fs::path> changed = {journalPath};
        for (const JournalEntry& entry : journal->entries) {
            changed.push_back(SaveTarget(entry.requested));
        }
        SyncFolders(calls, changed);
        calls.Remove(journalPath);
        for (const JournalEntry& entry : journal->entries) {
            calls.Remove(PreviousCopyPath(SaveTarget(entry.requested)));
        }
        result.putBack = result.putBack || (journal->complete && !journal->entries.empty());
    }
    for (const fs::path& final : finals) {
        if (std::find(stillNamed.begin(), stillNamed.end(), final) == stillNamed.end()) {
            calls.Remove(PreviousCopyPath(SaveTarget(final)));
        }
    }
    return result;
}

}  // namespace pictor
