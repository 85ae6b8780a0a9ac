#include "core/workspace/entry_pictures.h"

#include <utility>

#include "core/common/regular_file.h"
#include "core/common/translatable.h"
#include "core/text/text_renderer.h"

namespace pictor::workspace {

namespace {

bool GathersFromFile(const PictureRows& rows, const PictureOperations& operations,
                     PictureSize finalSize) {
    if (!rows.IsBgr24()) {
        return false;
    }
    if (operations.scale.mode == ScaleMode::None) {
        return true;
    }
    const SourceMap turned = MapSource({rows.Width(), rows.Height()}, operations, false);
    return EffectiveFilter(operations, {turned.width, turned.height}, finalSize) ==
           ScaleFilter::Nearest;
}

bool HasEntrySize(const PixelImage& picture, const ImageEntry& entry) {
    return picture.width == entry.width && picture.height == entry.height;
}

std::string PictureLabel(const ImageEntry& entry) {
    return entry.text ? entry.name : entry.path;
}

}  // namespace

std::optional<PictureRows> OpenOperatedRows(const std::filesystem::path& path,
                                            const PictureOperations& operations,
                                            std::vector<std::uint8_t> buffer) {
    std::optional<PictureRows> rows = OpenPictureRows(path, std::move(buffer));
    if (!rows || !operations.ChangesPixels()) {
        return rows;
    }
    const std::optional<PictureSize> size =
        OperatedSize({rows->Width(), rows->Height()}, operations);
    if (!size) {
        return std::nullopt;
    }
    if (GathersFromFile(*rows, operations, *size)) {
        const bool mapped = rows->MapRows(MapSource({rows->Width(), rows->Height()}, operations),
                                          operations.invert);
        return mapped ? std::move(rows) : std::nullopt;
    }
    const PixelImage whole = std::move(*rows).Whole();
    return PictureRows::FromImage(ApplyOperations(whole, operations));
}

std::optional<PixelImage> LoadEntrySource(const ImageEntry& entry) {
    if (entry.text) {
        text::RenderedText rendered = text::RenderText(*entry.text);
        if (!rendered.ok) {
            return std::nullopt;
        }
        return std::move(rendered.image);
    }
    return LoadPicture(PathFromUtf8(entry.path));
}

std::optional<PixelImage> LoadEntryPicture(const ImageEntry& entry, ListedSize size) {
    const bool checkSize = size == ListedSize::Required;
    if (entry.bitmap) {
        if (checkSize && !HasEntrySize(*entry.bitmap, entry)) {
            return std::nullopt;
        }
        return *entry.bitmap;
    }
    std::optional<PixelImage> source = LoadEntrySource(entry);
    if (!source || !OperatedSize({source->width, source->height}, entry.operations)) {
        return std::nullopt;
    }
    if (entry.operations.ChangesPixels()) {
        source = ApplyOperations(*source, entry.operations);
    }
    if (checkSize && !HasEntrySize(*source, entry)) {
        return std::nullopt;
    }
    return source;
}

std::optional<PictureRows> OpenEntryRows(const ImageEntry& entry,
                                         std::vector<std::uint8_t> buffer) {
    if (entry.bitmap || entry.text) {
        std::optional<PixelImage> picture = LoadEntryPicture(entry);
        if (!picture) {
            return std::nullopt;
        }
        return PictureRows::FromImage(std::move(*picture));
    }
    std::optional<PictureRows> rows =
        OpenOperatedRows(PathFromUtf8(entry.path), entry.operations, std::move(buffer));
    if (!rows || rows->Width() != entry.width || rows->Height() != entry.height) {
        return std::nullopt;
    }
    return rows;
}

bool SetEntryOperations(ImageEntry& entry, const PictureOperations& operations, Message* why,
                        const PixelImage* source) {
    const PictureSize sourceSize{entry.sourceWidth, entry.sourceHeight};
    if (std::optional<Message> fault =
            OperationsFaultMessage(PictureLabel(entry), sourceSize, operations)) {
        if (why != nullptr) {
            *why = std::move(*fault);
        }
        return false;
    }
    const PictureSize size = *OperatedSize(sourceSize, operations);
    // Kept pixels are made again only when the old or the new operations change them.
    const bool pixelsChange = operations.ChangesPixels() || entry.operations.ChangesPixels();
    if ((entry.bitmap || entry.thumbnail) && pixelsChange) {
        std::optional<PixelImage> loaded;
        if (source == nullptr) {
            loaded = LoadEntrySource(entry);
            source = loaded ? &*loaded : nullptr;
        }
        if (source == nullptr || source->width != entry.sourceWidth ||
            source->height != entry.sourceHeight) {
            if (why != nullptr) {
                *why = PatternMessage(PICTOR_TRANSLATE_NOOP("Core", "加载图片 %1 错误 !"),
                                      {PictureLabel(entry)}, "", MessageIcon::Exclamation);
            }
            return false;
        }
        PixelImage operated =
            operations.ChangesPixels() ? ApplyOperations(*source, operations) : *source;
        entry.thumbnail = std::make_shared<const PixelImage>(MakeThumbnail(operated));
        if (entry.bitmap) {
            entry.bitmap = std::make_shared<const PixelImage>(std::move(operated));
        }
    }
    entry.operations = operations;
    entry.width = size.width;
    entry.height = size.height;
    return true;
}

std::optional<ImageEntry> MakeTextEntry(const text::TextPicture& text, const std::string& name,
                                        const PictureOperations& operations, bool keepPixels,
                                        MessageSink& messages) {
    text::RenderedText rendered = text::RenderText(text);
    if (!rendered.ok) {
        messages.Show(rendered.error);
        return std::nullopt;
    }
    if (!rendered.missing.empty()) {
        messages.Show(text::MissingGlyphsMessage(text, rendered.missing));
    }
    ImageEntry entry;
    entry.name = name;
    entry.text = std::make_shared<const text::TextPicture>(text);
    entry.sourceWidth = rendered.image.width;
    entry.sourceHeight = rendered.image.height;
    entry.width = entry.sourceWidth;
    entry.height = entry.sourceHeight;
    if (keepPixels) {
        entry.thumbnail = std::make_shared<const PixelImage>(MakeThumbnail(rendered.image));
        entry.bitmap = std::make_shared<const PixelImage>(std::move(rendered.image));
    }
    Message why;
    if (!SetEntryOperations(entry, operations, &why, entry.bitmap.get())) {
        messages.Show(why);
        return std::nullopt;
    }
    return entry;
}

}  // namespace pictor::workspace
