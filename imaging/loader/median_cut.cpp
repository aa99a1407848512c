#include "imaging/loader/median_cut.h"

#include <algorithm>
#include <cfloat>
#include <map>
#include <new>

#include "imaging/loader/byte_order.h"
#include "imaging/loader/image_loader.h"

namespace orbiscope {

namespace {

constexpr std::uint16_t kCounterLimit = 65535;
constexpr std::uint32_t kMaxColours = 256;

struct Rgb {
    std::uint8_t red, green, blue;
};

// The representative colour of a cell: the lower corner of its 8 x 8 x 8 cube.
Rgb CellColour(std::uint32_t cell)
{
    return {static_cast<std::uint8_t>((cell & 31) << 3), static_cast<std::uint8_t>(((cell >> 5) & 31) << 3),
            static_cast<std::uint8_t>(((cell >> 10) & 31) << 3)};
}

std::uint8_t Grey(unsigned red, unsigned green, unsigned blue)
{
    return static_cast<std::uint8_t>((11 * blue + 59 * green + 30 * red) / 100);
}

void Count(ColorHistogram& histogram, std::uint16_t cell)
{
    if (histogram[cell] != kCounterLimit)
        ++histogram[cell];
}

// Calls f(x, y, colour) for every pixel of a 16-, 24- or 32-bit picture, rows
// from the top; false when the masks of a 16/32-bit picture cannot be used.
template <class F>
bool ForEachDeepPixel(DibView& view, F f)
{
    const unsigned bits = view.BitCount();
    if (bits != 24 && !view.SetupMasks())
        return false;
    const auto width = static_cast<std::size_t>(view.Width());
    for (std::int32_t y = 0; y < view.Height(); ++y) {
        const std::uint8_t* row = view.RowPointer(y);
        for (std::size_t x = 0; x < width; ++x) {
            if (bits == 24) {
                f(x, y, Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]});
                continue;
            }
            const std::uint32_t pixel = bits == 16 ? LoadLe16(row + 2 * x) : LoadLe32(row + 4 * x);
            f(x, y, Rgb{view.GetComponent(pixel, 0), view.GetComponent(pixel, 1), view.GetComponent(pixel, 2)});
        }
    }
    return true;
}

// Writes map(colour) for every pixel of a 16-, 24- or 32-bit picture into
// the same place of an 8-bit one of the same size, row by row.
template <class Map>
bool MapDeepPixels(DibView& view, ImageDib& out, Map map)
{
    const unsigned bits = view.BitCount();
    if (bits != 24 && !view.SetupMasks())
        return false;
    const auto width = static_cast<std::size_t>(view.Width());
    for (std::int32_t y = 0; y < view.Height(); ++y) {
        const std::uint8_t* in = view.RowPointer(y);
        std::uint8_t* o = out.RowPointer(y);
        if (bits == 24) {
            for (std::size_t x = 0; x < width; ++x, in += 3)
                o[x] = map(Rgb{in[2], in[1], in[0]});
            continue;
        }
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = bits == 16 ? LoadLe16(in + 2 * x) : LoadLe32(in + 4 * x);
            o[x] = map(Rgb{view.GetComponent(pixel, 0), view.GetComponent(pixel, 1), view.GetComponent(pixel, 2)});
        }
    }
    return true;
}

bool IsDeep(unsigned bits)
{
    return bits == 16 || bits == 24 || bits == 32;
}

// Palette colour of each index of a 4- or 8-bit picture; indices the palette
// does not reach are black.
std::array<Rgb, 256> PaletteColours(const DibView& view)
{
    std::array<Rgb, 256> colours{};
    const std::uint32_t n = std::min(view.ColorCount(), kMaxColours);
    for (std::uint32_t i = 0; i < n; ++i) {
        const RgbQuad q = view.PaletteEntry(i);
        colours[i] = {q.red, q.green, q.blue};
    }
    return colours;
}

bool AddIndexedPixels(ColorHistogram& histogram, const DibView& view)
{
    std::array<std::uint16_t, 256> cells{};
    const std::array<Rgb, 256> colours = PaletteColours(view);
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = HistogramCell(colours[i].red, colours[i].green, colours[i].blue);
    const auto width = static_cast<std::size_t>(view.Width());
    const bool nibbles = view.BitCount() == 4;
    for (std::int32_t y = 0; y < view.Height(); ++y) {
        const std::uint8_t* row = view.RowPointer(y);
        for (std::size_t x = 0; x < width; ++x)
            Count(histogram, cells[nibbles ? (x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F) : row[x]]);
    }
    return true;
}

// --- the median cut -------------------------------------------------------------

struct Box {
    std::uint16_t first = 0, last = 0;   // inclusive range of the cell list
    std::uint32_t count = 0;
    std::uint32_t level = 0;
    std::uint8_t min[3] = {255, 255, 255}, max[3] = {0, 0, 0};
};

int Component(std::uint32_t cell, int axis)
{
    return static_cast<int>(((cell >> (5 * axis)) & 31) << 3);
}

void Shrink(Box& box, const std::vector<std::uint16_t>& cells)
{
    for (int c = 0; c < 3; ++c) {
        box.min[c] = 255;
        box.max[c] = 0;
    }
    for (std::size_t i = box.first; i <= box.last; ++i)
        for (int c = 0; c < 3; ++c) {
            const auto v = static_cast<std::uint8_t>(Component(cells[i], c));
            box.min[c] = std::min(box.min[c], v);
            box.max[c] = std::max(box.max[c], v);
        }
}

// The box of more than one cell with the lowest level; ties go to the lower
// box number.  -1 when none can be split.
int BoxToSplit(const std::vector<Box>& boxes)
{
    int best = -1;
    std::uint32_t bestLevel = 255;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].first != boxes[i].last && boxes[i].level < bestLevel) {
            best = static_cast<int>(i);
            bestLevel = boxes[i].level;
        }
    return best;
}

// The widest axis, 0 red, 1 green, 2 blue; ties go to blue over green over red.
int SplitAxis(const Box& box)
{
    const int w[3] = {box.max[0] - box.min[0], box.max[1] - box.min[1], box.max[2] - box.min[2]};
    int axis = 0;
    for (int c = 0; c < 3; ++c)
        if (w[c] >= w[(c + 1) % 3] && w[c] >= w[(c + 2) % 3])
            axis = c;
    return axis;
}

Box Split(Box& box, std::vector<std::uint16_t>& cells, const ColorHistogram& histogram)
{
    const int axis = SplitAxis(box);
    std::sort(cells.begin() + box.first, cells.begin() + box.last + 1, [axis](std::uint16_t a, std::uint16_t b) {
        const int ka = Component(a, axis), kb = Component(b, axis);
        return ka != kb ? ka < kb : a < b;
    });
    // Walk to the median, never taking the last cell.
    std::uint32_t sum = 0;
    std::size_t i = box.first;
    while (i != box.last && sum < box.count / 2)
        sum += histogram[cells[i++]];
    Box upper;
    upper.first = static_cast<std::uint16_t>(i);
    upper.last = box.last;
    upper.count = box.count - sum;
    upper.level = box.level + 1;
    box.last = static_cast<std::uint16_t>(i - 1);
    box.count = sum;
    box.level += 1;
    Shrink(box, cells);
    Shrink(upper, cells);
    return upper;
}

Rgb BoxColour(const Box& box, const std::vector<std::uint16_t>& cells, const ColorHistogram& histogram)
{
    float sum[3] = {0, 0, 0};
    for (std::size_t i = box.first; i <= box.last; ++i)
        for (int c = 0; c < 3; ++c)
            sum[c] += static_cast<float>(histogram[cells[i]]) * static_cast<float>(Component(cells[i], c));
    const auto count = static_cast<float>(box.count);
    return {static_cast<std::uint8_t>(sum[0] / count), static_cast<std::uint8_t>(sum[1] / count),
            static_cast<std::uint8_t>(sum[2] / count)};
}

// The first palette entry nearest to a cell's colour (squared distance in
// single precision); an exact match ends the search.
std::uint16_t Nearest(std::uint32_t cell, const std::array<std::array<std::uint8_t, 3>, 256>& colours,
                      std::size_t n)
{
    const Rgb c = CellColour(cell);
    float best = FLT_MAX;
    std::uint16_t index = 0;
    for (std::size_t j = 0; j < n; ++j) {
        const float dr = static_cast<float>(colours[j][0] - c.red);
        const float dg = static_cast<float>(colours[j][1] - c.green);
        const float db = static_cast<float>(colours[j][2] - c.blue);
        const float d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            index = static_cast<std::uint16_t>(j);
            if (d == 0)
                break;
        }
    }
    return index;
}

}  // namespace

std::uint16_t HistogramCell(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return static_cast<std::uint16_t>((blue & 0xF8) << 7 | (green & 0xF8) << 2 | red >> 3);
}

ColorHistogram CreateColorHistogram()
{
    try {
        return ColorHistogram(kHistogramCells, 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

void FreeColorHistogram(ColorHistogram& histogram)
{
    ColorHistogram().swap(histogram);
}

void ClearColorHistogram(ColorHistogram& histogram)
{
    std::fill(histogram.begin(), histogram.end(), 0);
}

bool AddDibToHistogram(ColorHistogram& histogram, std::span<const std::uint8_t> dib)
{
    DibView view = DibView::Wrap(dib);
    if (histogram.size() != kHistogramCells || !view.Valid() || view.BitCount() < 4)
        return false;
    if (view.Compression() == kBiRle8 || view.Compression() == kBiRle4) {
        const PackedDib expanded = ExpandRleDib(dib);
        return !expanded.empty() && AddDibToHistogram(histogram, expanded);
    }
    if (!IsDeep(view.BitCount()))
        return AddIndexedPixels(histogram, view);
    return ForEachDeepPixel(view, [&histogram](std::size_t, std::int32_t, Rgb c) {
        Count(histogram, HistogramCell(c.red, c.green, c.blue));
    });
}

std::uint32_t MedianCut(ColorHistogram& histogram, std::array<std::array<std::uint8_t, 3>, 256>& colours,
                        std::uint32_t wanted)
{
    std::vector<std::uint16_t> cells;
    std::vector<Box> boxes;
    try {
        cells.reserve(kHistogramCells);
        boxes.reserve(kMaxColours);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    std::uint32_t total = 0;
    for (std::size_t cell = 0; cell < kHistogramCells; ++cell)
        if (histogram[cell] != 0) {
            cells.push_back(static_cast<std::uint16_t>(cell));
            total += histogram[cell];
        }
    if (cells.empty() || wanted == 0)
        return 0;
    Box first;
    first.last = static_cast<std::uint16_t>(cells.size() - 1);
    first.count = total;
    Shrink(first, cells);
    boxes.push_back(first);
    while (boxes.size() < std::min(wanted, kMaxColours)) {
        const int chosen = BoxToSplit(boxes);
        if (chosen < 0)
            break;
        boxes.push_back(Split(boxes[static_cast<std::size_t>(chosen)], cells, histogram));
    }
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        const Rgb c = BoxColour(boxes[b], cells, histogram);
        colours[b] = {c.red, c.green, c.blue};
    }
    for (const Box& box : boxes)
        for (std::size_t i = box.first; i <= box.last; ++i)
            histogram[cells[i]] = Nearest(cells[i], colours, boxes.size());
    return static_cast<std::uint32_t>(boxes.size());
}

std::uint32_t BuildHistogramPalette(ColorHistogram& histogram, std::uint32_t wanted, LogPalette& palette)
{
    if (histogram.size() != kHistogramCells)
        return 0;
    std::array<std::array<std::uint8_t, 3>, 256> colours{};
    const std::uint32_t n = MedianCut(histogram, colours, std::min(wanted, kMaxColours));
    palette.palVersion = 0x300;
    palette.palNumEntries = static_cast<std::uint16_t>(n);
    for (std::uint32_t i = 0; i < n; ++i)
        palette.palPalEntry[i] = {colours[i][0], colours[i][1], colours[i][2], 0};
    return n;
}

namespace {

// A copy of a picture of up to 8 bits with each palette entry replaced.
template <class F>
PackedDib CopyWithPalette(const DibView& view, F recolour)
{
    const std::span<const std::uint8_t> block = view.Block();
    ImageDib copy = ImageDib::Adopt(PackedDib(block.begin(), block.end()));
    if (!copy.Valid())
        return {};
    for (std::uint32_t i = 0; i < copy.ColorCount(); ++i)
        copy.SetPaletteEntry(i, recolour(copy.PaletteEntry(i)));
    return copy.Detach();
}

// A new 8-bit picture of the same size as `view`.
ImageDib New8Bit(const DibView& view, std::uint32_t colours)
{
    return ImageDib::New(8, view.Width(), view.Header().biHeight, colours);
}

}  // namespace

PackedDib MapDibToPalette(std::span<const std::uint8_t> dib, const ColorHistogram& inverseMap,
                          const LogPalette& palette)
{
    DibView view = DibView::Wrap(dib);
    if (!view.Valid() || inverseMap.size() != kHistogramCells)
        return {};
    const std::uint32_t entries = std::min<std::uint32_t>(palette.palNumEntries, kMaxColours);
    if (view.BitCount() <= 8) {
        return CopyWithPalette(view, [&](RgbQuad q) {
            const std::uint16_t index = inverseMap[HistogramCell(q.red, q.green, q.blue)];
            if (index >= entries)
                return q;
            const PaletteEntry& e = palette.palPalEntry[index];
            return RgbQuad{e.peBlue, e.peGreen, e.peRed, 0};
        });
    }
    ImageDib out = New8Bit(view, entries);
    if (!out.Valid())
        return {};
    for (std::uint32_t i = 0; i < entries && i < out.ColorCount(); ++i) {
        const PaletteEntry& e = palette.palPalEntry[i];
        out.SetPaletteEntry(i, {e.peBlue, e.peGreen, e.peRed, 0});
    }
    const std::uint16_t* cells = inverseMap.data();
    const bool mapped = MapDeepPixels(view, out, [cells](Rgb c) {
        return static_cast<std::uint8_t>(cells[HistogramCell(c.red, c.green, c.blue)]);
    });
    return mapped ? out.Detach() : PackedDib{};
}

PackedDib ConvertDibToGray(std::span<const std::uint8_t> dib)
{
    DibView view = DibView::Wrap(dib);
    if (!view.Valid())
        return {};
    if (view.BitCount() <= 8) {
        return CopyWithPalette(view, [](RgbQuad q) {
            const std::uint8_t g = Grey(q.red, q.green, q.blue);
            return RgbQuad{g, g, g, 0};
        });
    }
    ImageDib out = New8Bit(view, 256);
    if (!out.Valid())
        return {};
    for (std::uint32_t i = 0; i < 256; ++i) {
        const auto g = static_cast<std::uint8_t>(i);
        out.SetPaletteEntry(i, {g, g, g, 0});
    }
    const bool converted = MapDeepPixels(view, out, [](Rgb c) { return Grey(c.red, c.green, c.blue); });
    return converted ? out.Detach() : PackedDib{};
}

PackedDib ReduceDibToExactPalette(std::span<const std::uint8_t> dib)
{
    DibView view = DibView::Wrap(dib);
    if (!view.Valid())
        return {};
    if (view.BitCount() <= 8) {
        const std::span<const std::uint8_t> block = view.Block();
        return PackedDib(block.begin(), block.end());
    }
    // First pass: the distinct colours in order of first appearance.
    std::map<std::uint32_t, std::uint32_t> index;
    std::vector<Rgb> order;
    bool tooMany = false;
    const bool read = ForEachDeepPixel(view, [&](std::size_t, std::int32_t, Rgb c) {
        const std::uint32_t key = c.red | std::uint32_t{c.green} << 8 | std::uint32_t{c.blue} << 16;
        if (tooMany || index.count(key) != 0)
            return;
        if (order.size() == kMaxColours) {
            tooMany = true;
            return;
        }
        index.emplace(key, static_cast<std::uint32_t>(order.size()));
        order.push_back(c);
    });
    if (!read || tooMany)
        return {};
    ImageDib out = New8Bit(view, static_cast<std::uint32_t>(order.size()));
    if (!out.Valid())
        return {};
    for (std::size_t i = 0; i < order.size(); ++i)
        out.SetPaletteEntry(static_cast<std::uint32_t>(i), {order[i].blue, order[i].green, order[i].red, 0});
    MapDeepPixels(view, out, [&index](Rgb c) {
        const std::uint32_t key = c.red | std::uint32_t{c.green} << 8 | std::uint32_t{c.blue} << 16;
        return static_cast<std::uint8_t>(index[key]);
    });
    return out.Detach();
}

}  // namespace orbiscope
