#include "history/clipboard_snapshot_win.h"

#include <cstring>
#include <utility>

#include "framework/handles_win.h"
#include "history/capture.h"
#include "history/clipboard_snapshot.h"

namespace varnoke {

namespace {

static_assert(CF_BITMAP == 2 && CF_METAFILEPICT == 3 && CF_PALETTE == 9 && CF_ENHMETAFILE == 14 &&
                  CF_DIBV5 == 17 && CF_DSPBITMAP == 0x82 && CF_DSPMETAFILEPICT == 0x83 &&
                  CF_DSPENHMETAFILE == 0x8E,
              "the picture formats' numbers");

HGLOBAL CopyGlobal(HANDLE source, size_t size) {
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) {
        return nullptr;
    }
    bool copied = false;
    {
        GlobalLockGuard from(source);
        GlobalLockGuard to(copy);
        if (from.data() != nullptr && to.data() != nullptr) {
            std::memcpy(to.data(), from.data(), size);
            copied = true;
        }
    }
    if (!copied) {
        GlobalFree(copy);
        return nullptr;
    }
    return copy;
}

HPALETTE CopyPalette(HPALETTE source) {
    const UINT count = GetPaletteEntries(source, 0, 0, nullptr);
    if (count == 0) {
        return nullptr;
    }
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(source, 0, count, palette->palPalEntry);
    return CreatePalette(palette);
}

// A METAFILEPICT block with its own copy of the metafile.
HGLOBAL CopyMetafilePicture(HANDLE source) {
    METAFILEPICT picture;
    {
        GlobalLockGuard lock(source);
        if (lock.data() == nullptr || GlobalSize(source) < sizeof(picture)) {
            return nullptr;
        }
        std::memcpy(&picture, lock.data(), sizeof(picture));
    }
    picture.hMF = CopyMetaFileA(picture.hMF, nullptr);
    if (picture.hMF == nullptr) {
        return nullptr;
    }
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, sizeof(picture));
    bool copied = false;
    if (copy != nullptr) {
        GlobalLockGuard lock(copy);
        if (lock.data() != nullptr) {
            std::memcpy(lock.data(), &picture, sizeof(picture));
            copied = true;
        }
    }
    if (!copied) {
        DeleteMetaFile(picture.hMF);
        if (copy != nullptr) {
            GlobalFree(copy);
        }
        return nullptr;
    }
    return copy;
}

// What a format's data weighs, as far as it can be told without copying it.
size_t SizeOf(FormatStorage storage, HANDLE data) {
    switch (storage) {
        case FormatStorage::kGlobalMemory:
            return GlobalSize(data);
        case FormatStorage::kBitmap: {
            BITMAP bitmap{};
            if (GetObjectA(data, sizeof(bitmap), &bitmap) == 0) {
                return 0;
            }
            return static_cast<size_t>(bitmap.bmWidthBytes) * bitmap.bmHeight * bitmap.bmPlanes;
        }
        case FormatStorage::kPalette:
            return GetPaletteEntries(static_cast<HPALETTE>(data), 0, 0, nullptr) *
                   sizeof(PALETTEENTRY);
        case FormatStorage::kEnhMetafile:
            return GetEnhMetaFileBits(static_cast<HENHMETAFILE>(data), 0, nullptr);
        case FormatStorage::kMetafilePicture: {
            GlobalLockGuard lock(data);
            if (lock.data() == nullptr || GlobalSize(data) < sizeof(METAFILEPICT)) {
                return 0;
            }
            const auto* picture = static_cast<const METAFILEPICT*>(lock.data());
            return sizeof(METAFILEPICT) + GetMetaFileBitsEx(picture->hMF, 0, nullptr);
        }
        case FormatStorage::kNotCopied:
            break;
    }
    return 0;
}

HANDLE CopyData(FormatStorage storage, HANDLE data, size_t size) {
    switch (storage) {
        case FormatStorage::kGlobalMemory:
            return CopyGlobal(data, size);
        case FormatStorage::kBitmap:
            return CopyImage(data, IMAGE_BITMAP, 0, 0, 0);
        case FormatStorage::kPalette:
            return CopyPalette(static_cast<HPALETTE>(data));
        case FormatStorage::kEnhMetafile:
            return CopyEnhMetaFileA(static_cast<HENHMETAFILE>(data), nullptr);
        case FormatStorage::kMetafilePicture:
            return CopyMetafilePicture(data);
        case FormatStorage::kNotCopied:
            break;
    }
    return nullptr;
}

void FreeData(UINT format, HANDLE data) {
    switch (StorageOfFormat(format)) {
        case FormatStorage::kGlobalMemory:
            GlobalFree(data);
            break;
        case FormatStorage::kBitmap:
        case FormatStorage::kPalette:
            DeleteObject(data);
            break;
        case FormatStorage::kEnhMetafile:
            DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
            break;
        case FormatStorage::kMetafilePicture: {
            {
                GlobalLockGuard lock(data);
                if (lock.data() != nullptr) {
                    DeleteMetaFile(static_cast<METAFILEPICT*>(lock.data())->hMF);
                }
            }
            GlobalFree(data);
            break;
        }
        case FormatStorage::kNotCopied:
            break;
    }
}

UINT MarkFormat(const char* name) {
    return RegisterClipboardFormatA(name);
}

}  // namespace

ClipboardSnapshot& ClipboardSnapshot::operator=(ClipboardSnapshot&& other) noexcept {
    if (this != &other) {
        Clear();
        items_ = std::move(other.items_);
        other.items_.clear();
    }
    return *this;
}

SnapshotState ClipboardSnapshot::Take() {
    Clear();
    std::vector<unsigned> listed;
    for (UINT format = EnumClipboardFormats(0); format != 0;
         format = EnumClipboardFormats(format)) {
        listed.push_back(format);
    }
    // The sizes first, so that nothing is copied of a clipboard that will not be kept.
    struct Source {
        UINT format;
        HANDLE data;
        size_t size;
    };
    std::vector<Source> sources;
    SnapshotSize total;
    for (unsigned format :
         FormatsToSnapshot(listed, [](unsigned f) { return IsHistoryMarkFormat(f); })) {
        HANDLE data = GetClipboardData(format);
        const size_t size = data != nullptr ? SizeOf(StorageOfFormat(format), data) : 0;
        if (size == 0) {
            continue;
        }
        if (!total.Add(size)) {
            return SnapshotState::kTooBig;
        }
        sources.push_back({format, data, size});
    }
    for (const Source& source : sources) {
        HANDLE copy = CopyData(StorageOfFormat(source.format), source.data, source.size);
        if (copy != nullptr) {
            items_.push_back({source.format, copy});
        }
    }
    return SnapshotState::kTaken;
}

void ClipboardSnapshot::PutBack() {
    for (const Item& item : items_) {
        if (SetClipboardData(item.format, item.data) == nullptr) {
            FreeData(item.format, item.data);
        }
    }
    items_.clear();
}

void ClipboardSnapshot::Clear() {
    for (const Item& item : items_) {
        FreeData(item.format, item.data);
    }
    items_.clear();
}

bool IsHistoryMarkFormat(UINT format) {
    return format >= 0xC000 && (format == MarkFormat(kExcludeFromMonitorFormat) ||
                                format == MarkFormat(kViewerIgnoreFormat) ||
                                format == MarkFormat(kCanIncludeInHistoryFormat));
}

void MarkAsNotForHistories() {
    // CanIncludeInClipboardHistory holds a DWORD, 0 for "no"; the other two mark by being
    // there at all.
    for (const char* name :
         {kExcludeFromMonitorFormat, kViewerIgnoreFormat, kCanIncludeInHistoryFormat}) {
        const UINT format = MarkFormat(name);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD));
        if (format == 0 || memory == nullptr) {
            if (memory != nullptr) {
                GlobalFree(memory);
            }
            continue;
        }
        if (SetClipboardData(format, memory) == nullptr) {
            GlobalFree(memory);
        }
    }
}

}  // namespace varnoke
