#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "CardPath.h"
#include "CardRecord.h"

// An open card file. Reads never go past the size; a short count means the medium failed.
class CCardFile {
public:
    virtual ~CCardFile() = default;
    virtual uint32_t Size() const = 0;
    virtual size_t Read(uint32_t nOffset, uint8_t* pBuffer, size_t nCount) = 0;
};

// The memory card in the printer's slot.
class CCardSource {
public:
    virtual ~CCardSource() = default;

    // The entries of a folder in the order the card keeps them, "." and ".." included where
    // the card has them. False when the folder does not exist or cannot be read.
    virtual bool ListFolder(const CardFolder& folder, std::vector<CardRecord>& aRecords) = 0;

    // Null when the path names no file (missing, a folder, or unreadable).
    virtual std::unique_ptr<CCardFile> OpenFile(const CardFolder& path) = 0;
};
