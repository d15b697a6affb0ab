// Layout benchmarks: a full 999-character record text laid out into one
// window, and a 20000-byte big stream laid out over a chain of five members.
// The program starts SDL headless, writes its own small layout files, loads
// them with tav_start_tavrin and measures the two layout calls.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tavrin.h"

namespace {

// Field offsets of an object record in a .tav file.
constexpr int off_x = 0, off_y = 4, off_w = 8, off_h = 12, off_text_record = 172;
constexpr int off_line_width = 208, off_kind = 228, off_master = 284, off_dependents = 288;

constexpr uint32_t window = 8, mother = 9, first_member = 10, member_count = 5;
constexpr uint32_t stream_size = 20000;

struct Record {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(TAV_OBJECT_RECORD_SIZE, 0);
    Record &set(int offset, uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes[offset + i] = uint8_t(v >> (8 * i));
        return *this;
    }
};

// Deterministic prose: words of 1 to 12 letters, a line feed now and then.
std::string prose(size_t length)
{
    std::string text;
    uint32_t seed = 12345;
    while (text.size() < length) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t letters = 1 + (seed >> 16) % 12;
        for (uint32_t i = 0; i < letters; ++i) text += char('a' + (seed >> (i % 8)) % 26);
        text += (seed >> 8) % 23 == 0 ? '\n' : ' ';
    }
    text.resize(length);
    return text;
}

bool write_bytes(const char *path, const std::vector<uint8_t> &bytes)
{
    std::FILE *f = std::fopen(path, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Objects 1..7 are the operators; 8 a window with a record text; 9 a chain
// mother with the members 10..14, one text record each.
bool write_layout(const char *tav, const char *taw)
{
    std::vector<Record> objects(TAV_OPERATOR_COUNT);
    for (Record &op : objects) op.set(off_kind, TAV_KIND_LABEL).set(off_w, 16).set(off_h, 16);
    objects.push_back(Record().set(off_kind, TAV_KIND_WINDOW).set(off_x, 20).set(off_y, 40).set(off_w, 600)
                          .set(off_h, 700).set(off_text_record, 1).set(off_line_width, 580));
    Record chain;
    chain.set(off_kind, TAV_KIND_CHAIN).set(off_x, 640).set(off_y, 40).set(off_w, 600).set(off_h, 660);
    for (uint32_t i = 0; i < member_count; ++i) chain.set(off_dependents + 4 * int(i), first_member + i);
    objects.push_back(chain);
    for (uint32_t i = 0; i < member_count; ++i)
        objects.push_back(Record().set(off_kind, TAV_KIND_CHAIN).set(off_x, 650).set(off_y, 50 + 130 * i)
                              .set(off_w, 580).set(off_h, 120).set(off_master, mother)
                              .set(off_text_record, 2 + i).set(off_line_width, 560));
    std::vector<uint8_t> all;
    for (const Record &r : objects) all.insert(all.end(), r.bytes.begin(), r.bytes.end());
    if (!write_bytes(tav, all)) return false;

    all.assign(size_t(TAV_TEXT_RECORD_SIZE) * (1 + member_count), 0);
    for (uint32_t i = 0; i <= member_count; ++i) all[size_t(TAV_TEXT_RECORD_SIZE) * i] = uint8_t(window + (i ? 1 + i : 0));
    return write_bytes(taw, all);
}

// The context as the programs set it up, headless.
struct Toolkit {
    tav_context *ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));

    bool start()
    {
        const int width = 1280, height = 720;
        if (!ctx || SDL_Init(SDL_INIT_VIDEO) != 0) return false;
        ctx->window = SDL_CreateWindow("Tavrin Bench", 0, 0, width, height, SDL_WINDOW_HIDDEN);
        ctx->screen = SDL_CreateRGBSurface(0, width, height, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
        ctx->renderer = SDL_CreateRenderer(ctx->window, -1, SDL_RENDERER_SOFTWARE);
        ctx->texture = SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
        if (!ctx->screen || !ctx->texture || TTF_Init() != 0) return false;
        ctx->screen_width = ctx->window_width = width;
        ctx->screen_height = ctx->window_height = height;
        ctx->convert_umlauts = 1;
        ctx->scroll_step = 4;
        if (!write_layout("bench_layout.tav", "bench_layout.taw")) return false;
        tav_start_tavrin(ctx, 0, 0, "bench_layout.tav", "bench_layout.taw");
        std::remove("bench_layout.tav");
        std::remove("bench_layout.taw");
        ctx->font = TTF_OpenFont("DroidSans.ttf", 12);
        return ctx->font && tav_prepare_chain_mother(ctx, mother, stream_size) == 1;
    }

    ~Toolkit()
    {
        if (!ctx) return;
        if (ctx->objects) {
            std::free(ctx->objects[mother].stream);
            SDL_DestroyTexture(ctx->texture);
            SDL_DestroyRenderer(ctx->renderer);
            SDL_DestroyWindow(ctx->window);
            tav_close(ctx);
        }
        std::free(ctx);
    }
};

}  // namespace

int main(int argc, char **argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Toolkit toolkit;
    if (!toolkit.start()) {
        std::printf("Cannot start the toolkit: %s\n", SDL_GetError());
        return 1;
    }
    tav_context *ctx = toolkit.ctx;

    const std::string record_text = prose(TAV_RECORD_TEXT_SIZE - 1);
    std::memcpy(ctx->text_records[1].text, record_text.c_str(), record_text.size() + 1);
    const std::string stream = prose(stream_size - 1);
    std::memcpy(ctx->objects[mother].stream, stream.c_str(), stream.size() + 1);

    benchmark::RegisterBenchmark("RecordText999", [ctx](benchmark::State &state) {
        for (auto _ : state) benchmark::DoNotOptimize(tav_format_object_text(ctx, window));
        state.SetBytesProcessed(int64_t(state.iterations()) * (TAV_RECORD_TEXT_SIZE - 1));
    });
    benchmark::RegisterBenchmark("ChainStream20000", [ctx](benchmark::State &state) {
        for (auto _ : state) benchmark::DoNotOptimize(tav_format_stream_to_linked_objects(ctx, mother));
        state.SetBytesProcessed(int64_t(state.iterations()) * (stream_size - 1));
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
