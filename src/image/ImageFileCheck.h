// A plausibility check of BMP, GIF and PNG file images before a system decoder sees them. Decoders
// have crashed on files whose headers promise more than any real picture has (sizes whose pixel
// count overflows, BMP rows that run far past the end of the file, GIF frames without any colour
// table); such files are refused here. Files of other kinds, and every file that passes, go to
// the decoder unchanged. Free of Windows so it is tested natively.
#pragma once
#include <cstddef>
#include <cstdint>

// Largest picture taken from a file: its 32-bit pixels must fit below 2 GB.
const uint64_t kMaxDecodedPixelBytes = 0x7FFFFFFFull;

// False when the file image is a BMP, GIF or PNG that no sound file looks like.
bool PlausibleImageFile(const uint8_t* data, size_t size);
