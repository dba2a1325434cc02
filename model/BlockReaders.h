// The readers of the five Motion Model blocks. Each consumes its block from
// the line after the keyword line through the closing line, fills one record
// and writes the block's log lines. A reader never looks ahead: a block that
// does not hold exactly its lines shifts every later read.
#pragma once

#include "model/MMRecords.h"
#include "model/MotionModelStream.h"

void ReadMeshBlock(MotionModelStream& stream, MMMesh& mesh);
void ReadMaterialBlock(MotionModelStream& stream, MMMaterial& material);
void ReadMultiMaterialBlock(MotionModelStream& stream, MMMultiMaterial& multiMaterial);
void ReadHelperBlock(MotionModelStream& stream, MMHelper& helper);
void ReadLightBlock(MotionModelStream& stream, MMLight& light);

// Checks a count the file gives against what the rest of the file can hold:
// a negative count reads as 0 and a count above most as most, each with a
// "Motion Warning:" line naming the block (kind and name) and what is
// counted.
int CheckedCount(int count, long long most, const char* kind, const char* name, const char* what);

// The quoted material name of a line read, clipped to the field's 127
// characters with a "Motion Warning:" line when longer.
void ReadMaterialName(const char* line, char (&name)[kMaterialNameSize]);
