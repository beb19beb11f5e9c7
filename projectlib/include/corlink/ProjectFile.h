// The project file's bytes: reading them from a regular file, a stream over bytes in memory,
// and the largest file that the layout allows.
#pragma once

#include "corlink/Records.h"

#include <cstddef>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>

namespace corlink {

// The length of the largest project file that a save can write under these limits: every
// text at the 65535 bytes its length can count.
std::size_t MaxProjectFileSize(const TypMaxGrenzwerte& limits);

// The first bytes of a regular file (a symbolic link to one is followed), at most limit + 1 of
// them, so that more than limit tells the caller that the file is longer. A FIFO, socket,
// device or folder is refused with 75 without blocking and without being read; 52 no name,
// 53 / 76 the file or its folder is missing, 70 no permission, 75 a failed read.
std::string ReadProjectFileBytes(const std::string& NameofFile, std::size_t limit);

// An input stream over bytes that it does not own; they must outlive it.
class ByteStream : private std::streambuf, public std::istream {
public:
    explicit ByteStream(std::string_view bytes) : std::istream(static_cast<std::streambuf*>(this)) {
        char* begin = const_cast<char*>(bytes.data());  // only ever read
        setg(begin, begin, begin + bytes.size());
    }
};

}  // namespace corlink
