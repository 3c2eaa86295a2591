#pragma once

#include <string>

#include "win32/decoder/DecoderChannel.h"

// What code a crafted file took over in the decoder would try first, each act tried for real
// from inside the decoder and its outcome told, one line each: "<act>: refused (<error>)" or
// "<act>: done". `order` is the probe file's text after its first line: the program's process
// id, the show's window (its handle's value) and caption, one a line.
std::string ProbeForbiddenActs(const std::string& order,
                               const glimra::win32::DecoderControl* block);
