// Reading primitives of the Motion Model ASCII format over one open text
// file: field patterns, line reads, top-level lines, quoted texts, and the
// bound that the rest of the file puts on any count it gives.
#pragma once

#include "render/Matrix4.h"

#include <cstddef>
#include <cstdio>

// A line read keeps at most 254 characters, a top-level line at most 255.
constexpr int kLineReadSize = 255;
constexpr int kTopLevelLineSize = 256;
// A quoted text is looked for within this many characters from the start of
// its line.
constexpr int kQuotedScanWidth = 255;

struct TopLevelLine {
    char text[kTopLevelLineSize];
    int length;

    // Whether the line is exactly keyword (a NUL inside the line never
    // matches).
    bool Is(const char* keyword) const;
    bool IsEmpty() const { return length == 0; }
};

class MotionModelStream {
public:
    explicit MotionModelStream(std::FILE* file);

    // Applies a field pattern by the rules of fscanf; returns its result.
    int Scan(const char* pattern, ...) __attribute__((format(scanf, 2, 3)));
    void SkipWhiteSpace();

    // The rest of the current line with its newline, at most 254 characters;
    // a longer line's rest is the next line. At the end of the file the line
    // is empty and the result false.
    bool ReadLine(char (&line)[kLineReadSize]);

    // At most 255 characters up to the newline, which is consumed; carriage
    // returns are dropped.
    void ReadTopLevelLine(TopLevelLine& line);

    // Skips an unrecognised block: top-level lines up to and including the
    // next line that is exactly "}".
    void SkipBlock();

    // The transform rows 0 to 3 ("\t%f %f %f\n" each) under a fourth column
    // of (0, 0, 0, 1).
    void ReadTransform(Matrix4& transform);

    // The end of the file, a read error, or reading past the size the file
    // had when the stream was made (a file that keeps growing ends there).
    bool AtEnd() const;
    bool Rewind(long position);
    long Position() const;

    // The most records of numbersPerRecord numbers each that the rest of the
    // file can hold: every number takes at least one character and is parted
    // from the next by at least one more.
    long long MostRecords(long long numbersPerRecord) const;
    // The most line reads the rest of the file can give (each takes a
    // character).
    long long MostLines() const;

private:
    long long Remaining() const;

    std::FILE* file_;
    long long size_;
};

// The n-th (from 0) quoted text of a line read: the characters after its
// opening double quote up to the next double quote or the end of the line,
// all within kQuotedScanWidth characters of the line's start. Copied into
// out, clipped to size - 1 characters; returns the text's full length.
std::size_t QuotedText(const char* line, int n, char* out, std::size_t size);
