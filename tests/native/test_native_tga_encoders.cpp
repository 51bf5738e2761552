// TGA files made by other encoders at test time (Pillow, ImageMagick) and by the test kit in
// every layout it writes, read by our reader and compared word for word with Pillow's decode of
// the same file and with stb_image's where stb_image reads the layout. Where decoders disagree:
//   - 16-bit pixels whose descriptor gives 1 alpha bit: we take the top bit as alpha (as
//     ImageMagick writes it); Pillow's TGA reader of this version and stb_image read them opaque.
//     Pillow's side is its own BGRA;15 unpacker (see make_encoder_tgas.py); stb's is compared on
//     colour only.
//   - run-length packets that cross a row end: read (as stb_image and ImageMagick); this Pillow
//     refuses the file.
//   - 5-bit channels: v * 255 / 31 rounded down, as Pillow and stb_image (not v << 3 | v >> 2).
//   - rows stored right to left: stb_image ignores the bit; compared with Pillow only.
//   - a colour map whose first entry index is not 0: stb_image skips that many bytes instead;
//     an index outside the map: we refuse the file, Pillow reads black, stb_image entry 0.
#include <doctest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "NativeTgaDecode.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#include <stb/stb_image.h>

using namespace tgakit;
namespace fs = std::filesystem;

namespace {
std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

// RGBA bytes (Pillow's and stb_image's order) as pixel words.
std::vector<uint32_t> FromRgba(const uint8_t* p, size_t pixels) {
    std::vector<uint32_t> words(pixels);
    for (size_t i = 0; i < pixels; ++i, p += 4)
        words[i] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    return words;
}

// stb_image ignores the right-to-left bit and reads a map whose first entry index is not 0 from
// the wrong place.
bool StbReads(const std::vector<uint8_t>& file) {
    const bool mapped = (file[2] & 7) == 1;
    return !(file[17] & 0x10) && !(mapped && (file[3] | file[4]));
}

bool AlphaBitFile(const std::vector<uint8_t>& file) {
    return (file[2] & 7) == 2 && file[16] == 16 && (file[17] & 15) == 1;
}

struct Tally {
    int files = 0, pillow = 0, pillowRefused = 0, stb = 0, neither = 0;
};
}  // namespace

TEST_CASE("files from Pillow, ImageMagick and the kit read as Pillow and stb_image read them") {
    const fs::path dir = VOR_TGA_ENCODER_DIR;
    fs::remove_all(dir);
    fs::create_directories(dir);
    uint32_t state = 23;
    int kitFiles = 0;
    for (TgaLayout l : AllPixelLayouts())
        for (bool top : {false, true})
            for (bool rtl : {false, true}) {
                l.topRowFirst = top;
                l.rightToLeft = rtl;
                l.packetsInRows = rtl;  // Pillow compares these (it refuses packets across rows), stb the others
                l.idLength = kitFiles % 3 == 0 ? 9 : 0;
                const std::vector<uint8_t> file = MakeTga(13, 7, RandomPicture(13, 7, state), l);
                WriteAll(dir / ("kit_" + std::to_string(kitFiles++) + ".tga"), file);
            }
    const std::string command =
        "/usr/bin/python3 '" VOR_SOURCE_DIR "/tests/tga/make_encoder_tgas.py' '" + dir.string() + "'";
    REQUIRE_MESSAGE(std::system(command.c_str()) == 0,
                    "writing the files needs /usr/bin/python3 with python3-pil and ImageMagick's convert");

    std::map<std::string, Tally> tally;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        const fs::path path = entry.path();
        if (path.extension() != ".tga") continue;
        const std::string name = path.filename().string();
        const std::string encoder = name.substr(0, name.find('_'));
        CAPTURE(name);
        Tally& t = tally[encoder];
        ++t.files;
        const std::vector<uint8_t> file = ReadAll(path);
        TgaInfo info;
        std::vector<uint32_t> words;
        REQUIRE(Decode(file, info, words));
        REQUIRE(info.width == 13);
        REQUIRE(info.height == 7);

        fs::path pillowPath = path;
        pillowPath.replace_extension(".pillow");
        const bool pillowCompared = fs::exists(pillowPath);
        if (pillowCompared) {
            const std::vector<uint8_t> rgba = ReadAll(pillowPath);
            REQUIRE(rgba.size() == words.size() * 4);
            CHECK(words == FromRgba(rgba.data(), words.size()));
            ++t.pillow;
        } else {
            CHECK(encoder == "kit");  // Pillow reads every file Pillow and ImageMagick write
            pillowPath.replace_extension(".pillow-refused");
            if (fs::exists(pillowPath)) {
                CHECK(info.rle);  // packets across a row end, which this Pillow refuses
                ++t.pillowRefused;
            }
        }
        if (!pillowCompared && !StbReads(file)) {
            CHECK(encoder == "kit");  // checked against the kit's own expectation in test_native_core
            ++t.neither;
        }
        if (StbReads(file)) {
            int w = 0, h = 0, comp = 0;
            std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
                stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &comp, 4), &stbi_image_free);
            REQUIRE(rgba);
            REQUIRE(size_t(w) * size_t(h) == words.size());
            std::vector<uint32_t> ours = words;
            if (AlphaBitFile(file))
                for (uint32_t& word : ours) word |= 0xFF000000u;  // stb_image reads them opaque
            CHECK(ours == FromRgba(rgba.get(), words.size()));
            ++t.stb;
        }
    }
    for (const auto& item : tally)
        MESSAGE(item.first << ": " << item.second.files << " files, " << item.second.pillow << " compared with Pillow's decode, "
                           << item.second.stb << " with stb_image's, " << item.second.pillowRefused
                           << " refused by Pillow (run-length packets across row ends), " << item.second.neither
                           << " read by neither");
    CHECK(tally["pillow"].files == 21);
    CHECK(tally["magick"].files == 56);
    CHECK(tally["kit"].files == kitFiles);
    CHECK(tally["pillow"].pillow == 21);
    CHECK(tally["magick"].pillow == 56);
}
