// Reading primitives of the Motion Model ASCII format: fscanf for field
// patterns, fgets for line reads, a character reader for top-level lines.
#include "model/MotionModelStream.h"

#include <cstdarg>
#include <cstring>

bool TopLevelLine::Is(const char* keyword) const {
    const std::size_t keywordLength = std::strlen(keyword);
    return static_cast<std::size_t>(length) == keywordLength &&
           std::memcmp(text, keyword, keywordLength) == 0;
}

MotionModelStream::MotionModelStream(std::FILE* file) : file_(file), size_(0) {
    const long start = std::ftell(file_);
    if (start >= 0 && std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        size_ = end > 0 ? end : 0;
    }
    std::fseek(file_, start > 0 ? start : 0, SEEK_SET);
}

int MotionModelStream::Scan(const char* pattern, ...) {
    std::va_list args;
    va_start(args, pattern);
    const int result = std::vfscanf(file_, pattern, args);
    va_end(args);
    return result;
}

void MotionModelStream::SkipWhiteSpace() {
    int c;
    do {
        c = std::fgetc(file_);
    } while (c == ' ' || (c >= '\t' && c <= '\r'));
    if (c != EOF) {
        std::ungetc(c, file_);
    }
}

bool MotionModelStream::ReadLine(char (&line)[kLineReadSize]) {
    if (std::fgets(line, kLineReadSize, file_) == nullptr) {
        line[0] = '\0';
        return false;
    }
    return true;
}

void MotionModelStream::ReadTopLevelLine(TopLevelLine& line) {
    line.length = 0;
    while (line.length < kTopLevelLineSize - 1) {
        const int c = std::fgetc(file_);
        if (c == EOF || c == '\n') {
            break;
        }
        if (c != '\r') {
            line.text[line.length++] = static_cast<char>(c);
        }
    }
    line.text[line.length] = '\0';
}

void MotionModelStream::SkipBlock() {
    TopLevelLine line;
    do {
        ReadTopLevelLine(line);
    } while (!line.Is("}") && !AtEnd());
}

void MotionModelStream::ReadTransform(Matrix4& transform) {
    transform._14 = transform._24 = transform._34 = 0.0f;
    transform._44 = 1.0f;
    for (auto& row : transform.m) {
        Scan("\t%f %f %f\n", &row[0], &row[1], &row[2]);
    }
}

bool MotionModelStream::AtEnd() const {
    return std::feof(file_) != 0 || std::ferror(file_) != 0 || std::ftell(file_) > size_;
}

bool MotionModelStream::Rewind(long position) {
    return std::fseek(file_, position, SEEK_SET) == 0;
}

long MotionModelStream::Position() const {
    return std::ftell(file_);
}

long long MotionModelStream::Remaining() const {
    const long position = std::ftell(file_);
    if (position < 0 || position >= size_) {
        return 0;
    }
    return size_ - position;
}

long long MotionModelStream::MostRecords(long long numbersPerRecord) const {
    return (Remaining() + 1) / (2 * numbersPerRecord);
}

long long MotionModelStream::MostLines() const {
    return Remaining();
}

std::size_t QuotedText(const char* line, int n, char* out, std::size_t size) {
    int i = 0;
    for (int quotes = 0; quotes <= 2 * n; ++i) {
        if (i >= kQuotedScanWidth || line[i] == '\0') {
            out[0] = '\0';
            return 0;
        }
        if (line[i] == '"') {
            ++quotes;
        }
    }
    const int start = i;
    while (i < kQuotedScanWidth && line[i] != '\0' && line[i] != '"') {
        ++i;
    }
    const std::size_t length = static_cast<std::size_t>(i - start);
    const std::size_t kept = length < size ? length : size - 1;
    std::memcpy(out, line + start, kept);
    out[kept] = '\0';
    return length;
}
