#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <vector>

#include "core/common/save_calls.h"
#include "core/common/save_file.h"

namespace pictor {

/// What PublishPair does after the first rename (a seam for tests): go on, fail as
/// if the second rename had failed, or stop dead as a crash would, leaving the
/// folder as it is.
enum class PublishStep { Continue, Fail, Abandon };
using PublishHook = std::function<PublishStep()>;

/// How a PublishPair ended.
enum class PairPublish {
    Published,     // both files replaced
    FirstFailed,   // nothing replaced; the first file's step failed
    SecondFailed,  // nothing replaced (the first file was put back); the second failed
    /// The second rename failed and the first file could not be put back: the new
    /// first file stands beside the old second one. The journal and the previous
    /// copies stay, so RecoverInterruptedPublications puts the old pair back later.
    PutBackFailed,
};

/// Renames two finished SaveFiles into place so that both targets are replaced or
/// neither is. Both must have been started with paths in one folder. Before the
/// first rename every existing target is kept as its previous copy (a hard link
/// ".NAME.previous" beside it), and a journal ".FIRST.publishing" beside the first
/// path names both files; the journal, the copies and the folder are synced before
/// the first rename, and the folder again after the second. If the second rename
/// fails, the first target is put back (or removed when it did not exist). A target
/// that is a folder fails before anything is renamed. Call
/// RecoverInterruptedPublications first: an earlier publication's leftovers are
/// replaced. Not thread-safe; one publication per folder at a time.
PairPublish PublishPair(SaveFile& first, SaveFile& second,
                        const PublishHook& afterFirstRename = {});

/// What RecoverInterruptedPublications did.
struct PublicationRecovery {
    /// A journal was found and its previous files were put back.
    bool putBack = false;
    /// Previous copies that could not be put back; their journal is kept, so the
    /// next call tries again. Nothing may replace their files meanwhile.
    std::vector<std::filesystem::path> kept;
};

/// Undoes the pair publications of `finals` (paths in one folder, e.g. Icon.bin,
/// Icon.c and Icon.h) that a crash interrupted: every journal named after one of
/// them puts back the previous copies of the files it names (only files among
/// `finals`) and is then removed with those copies. Previous copies that no
/// remaining journal names are leftovers of a publication that completed, and are
/// removed; a file that a journal names is never removed while the journal stays.
PublicationRecovery RecoverInterruptedPublications(std::span<const std::filesystem::path> finals,
                                                   SaveCalls& calls = SystemSaveCalls());

/// The previous copy of `target` during a publication: ".NAME.previous" beside it.
std::filesystem::path PreviousCopyPath(const std::filesystem::path& target);

}  // namespace pictor
