// Pictures on the real backend: decoded on worker threads, waited for only
// when their pixels are needed, and kept in memory only where Texture_Lock
// needs them.
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/core.h"
#include "engine/image_jobs.h"
#include "tests/engine_gl/gl_engine.h"

namespace {

const DWORD kTeal = ARGB(255, 0x20, 0x90, 0x80);

void SavePng(const std::string& path, int w, int h, DWORD argb) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_TRUE(s);
    SDL_FillRect(s, nullptr, argb);
    EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0);
    SDL_FreeSurface(s);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ImageLoading : public GlEngineTest {
protected:
    tideCore* core() { return tideCore::instance; }
    std::string Path(const std::string& name) { return (std::filesystem::path(dir) / name).string(); }
    int LogCount(const std::string& text) {
        int n = 0;
        for (const std::string& line : core()->Log()) n += line.find(text) != std::string::npos;
        return n;
    }
};

// The size comes from the file's header at once; the pixels when first drawn
// or locked, and a broken file is named once, when its pixels are needed.
TEST_F(ImageLoading, SizeAtOncePixelsWhenNeeded) {
    SavePng(Path("a.png"), 40, 30, kTeal);
    HTEXTURE tex = tide->Texture_Load("a.png", 0, false);
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(tide->Texture_GetWidth(tex, true), 40);
    EXPECT_EQ(tide->Texture_GetHeight(tex, false), 30);
    Begin(0);
    Draw(0, 0, kW, kH, 0xFFFFFFFF, tex, BLEND_DEFAULT);
    EXPECT_TRUE(ColorNear(At(Finish(), kW / 2, kH / 2), kTeal));

    std::string png = ReadAll(Path("a.png"));
    png.resize(png.size() / 2);  // header whole, picture data cut
    std::ofstream(Path("broken.png"), std::ios::binary) << png;
    HTEXTURE broken = tide->Texture_Load("broken.png", 0, false);
    ASSERT_NE(broken, 0u);
    EXPECT_EQ(LogCount("broken.png"), 0);
    DWORD* px = tide->Texture_Lock(broken, true, 0, 0, 0, 0);
    ASSERT_TRUE(px);
    EXPECT_EQ(px[0], 0u);  // transparent
    tide->Texture_Unlock(broken);
    EXPECT_EQ(LogCount("Can't load texture: broken.png ("), 1);
    tide->Texture_Free(broken);
    HTEXTURE again = tide->Texture_Load("broken.png", 0, false);
    tide->Texture_Lock(again, true, 0, 0, 0, 0);
    EXPECT_EQ(LogCount("broken.png"), 1);
}

// Once a frame has put a picture on the device, its memory copy goes; a lock
// brings it back from the file and keeps it from then on.
TEST_F(ImageLoading, MemoryCopyOnlyWhereALockNeedsIt) {
    SavePng(Path("b.png"), 16, 16, kTeal);
    HTEXTURE tex = tide->Texture_Load("b.png", 0, false);
    HTEXTURE made = tide->Texture_Create(16, 16);
    Begin(0);
    Draw(0, 0, kW / 2, kH, 0xFFFFFFFF, tex, BLEND_DEFAULT);
    Draw(kW / 2, 0, kW, kH, 0xFFFFFFFF, made, BLEND_DEFAULT);
    Finish();
    EXPECT_TRUE(core()->GetTexture(tex)->pixels.empty());
    EXPECT_EQ(core()->GetTexture(made)->pixels.size(), 256u);  // made to be locked

    DWORD* px = tide->Texture_Lock(tex, false, 0, 0, 0, 0);
    ASSERT_TRUE(px);
    EXPECT_EQ(px[17], kTeal);
    px[0] = 0xFFFF0000;
    tide->Texture_Unlock(tex);
    Begin(0);
    Draw(0, 0, kW, kH, 0xFFFFFFFF, tex, BLEND_DEFAULT);
    Finish();
    EXPECT_EQ(core()->GetTexture(tex)->pixels.size(), 256u);
    EXPECT_EQ(core()->GetTexture(tex)->pixels[0], 0xFFFF0000u);
}

// A picture given back is read from its file when next drawn or read ahead
// (so a changed file shows); a broken file gives a transparent picture of the
// same size.
// A locked picture has no other copy and keeps its pixels.
TEST_F(ImageLoading, EvictedPictureIsReadAgainWhenDrawn) {
    const DWORD kRed = ARGB(255, 0xE0, 0x10, 0x10);
    SavePng(Path("c.png"), 16, 16, kTeal);
    HTEXTURE tex = tide->Texture_Load("c.png", 0, false);
    HTEXTURE locked = tide->Texture_Load("c.png", 0, false);
    tide->Texture_Lock(locked, false, 0, 0, 0, 0)[0] = kRed;
    tide->Texture_Unlock(locked);
    Begin(0);
    Draw(0, 0, kW, kH, 0xFFFFFFFF, tex, BLEND_DEFAULT);
    Finish();

    SavePng(Path("c.png"), 16, 16, kRed);
    tide->Texture_Evict(tex);
    tide->Texture_Evict(locked);
    EXPECT_EQ(tide->Texture_GetWidth(tex), 16);
    EXPECT_TRUE(core()->Evicted(tex));
    tide->Texture_Prefetch(tex);  // read ahead on a worker
    EXPECT_FALSE(core()->Evicted(tex));
    EXPECT_EQ(tide->Texture_Lock(locked, true, 0, 0, 0, 0)[1], kTeal);
    Begin(0);
    Draw(0, 0, kW, kH, 0xFFFFFFFF, tex, BLEND_DEFAULT);
    EXPECT_TRUE(ColorNear(At(Finish(), kW / 2, kH / 2), kRed));

    std::ofstream(Path("c.png"), std::ios::binary | std::ios::trunc) << "not a picture";
    tide->Texture_Evict(tex);
    Begin(0xFF102030);
    Draw(0, 0, kW, kH, 0xFFFFFFFF, tex, BLEND_DEFAULT);
    EXPECT_TRUE(ColorNear(At(Finish(), kW / 2, kH / 2), 0xFF102030));
    EXPECT_EQ(LogCount("Can't load texture: c.png ("), 1);
    EXPECT_EQ(tide->Texture_GetHeight(tex), 16);
}

// The queue itself: the caller decodes a picture no worker has started, and
// a dropped one is never decoded.
TEST(ImageJobs, TakeDecodesInPlaceOrWaits) {
    std::string dir = (std::filesystem::temp_directory_path() /
                       ("thalomir_jobs_" + std::to_string(::getpid())))
                          .string();
    std::filesystem::create_directories(dir);
    SavePng(dir + "/c.png", 8, 4, kTeal);
    std::string png = ReadAll(dir + "/c.png");
    std::filesystem::remove_all(dir);
    int w = 0, h = 0;
    ASSERT_TRUE(tidePngSize(png, &w, &h));
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 4);
    EXPECT_FALSE(tidePngSize(png.substr(0, 20), &w, &h));
    EXPECT_FALSE(tidePngSize("GIF89a" + std::string(30, '\0'), &w, &h));

    tideImageJobs jobs(2);
    auto first = jobs.Submit(png);  // closed queue: only Take can decode it
    tideImage img;
    std::string why;
    ASSERT_TRUE(jobs.Take(*first, &img, &why));
    EXPECT_EQ(img.width, 8);
    EXPECT_EQ(img.pixels.at(31), kTeal);

    jobs.Open();
    std::vector<std::shared_ptr<tideImageJobs::Job>> many;
    for (int i = 0; i < 20; ++i) many.push_back(jobs.Submit(i == 7 ? std::string("junk") : png));
    jobs.Drop(*many[3]);
    for (int i = 0; i < 20; ++i) {
        if (i == 3) continue;
        EXPECT_EQ(jobs.Take(*many[i], &img, &why), i != 7) << i;
        if (i == 7) {
            EXPECT_FALSE(why.empty());
        }
    }
}

}  // namespace
