#include "cli/demo_flash.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>
#include <vector>

#include "builder/flash_builder.h"
#include "picture/color_tables.h"
#include "picture/picture_codec.h"

namespace vorlix {

namespace {

constexpr std::int32_t kBuildInfo = 0x820000;
constexpr std::int32_t kExtPitCode = 0x8F1230;

struct DemoIcon {
    QImage image;
    std::uint8_t type;
};

QImage Blank(int w, int h, QColor background = Qt::white) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

void Fill(QImage& image, int x, int y, int w, int h, QColor color = Qt::black) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (image.valid(i, j)) image.setPixel(i, j, color.rgb());
}

// A tiny diamond, the 4 x 4 record the PIT starts with.
QImage Dot() {
    QImage image = Blank(4, 4);
    Fill(image, 1, 0, 2, 4);
    Fill(image, 0, 1, 4, 2);
    return image;
}

QImage Battery(int level) {
    QImage image = Blank(18, 9);
    Fill(image, 0, 0, 16, 1);
    Fill(image, 0, 8, 16, 1);
    Fill(image, 0, 0, 1, 9);
    Fill(image, 15, 0, 1, 9);
    Fill(image, 16, 3, 2, 3);
    for (int i = 0; i < level; ++i) Fill(image, 2 + 3 * i, 2, 2, 5);
    return image;
}

QImage Signal(int level) {
    QImage image = Blank(15, 10);
    Fill(image, 1, 1, 1, 9);
    Fill(image, 0, 0, 1, 2);
    Fill(image, 2, 0, 1, 2);
    for (int i = 0; i < 4; ++i) {
        const int height = i < level ? 3 + 2 * i : 1;
        Fill(image, 4 + 3 * i, 10 - height, 2, height);
    }
    return image;
}

// Seven-segment clock digits, 9 x 15.
QImage Digit(int digit) {
    static const char* const kSegments[10] = {"abcdef", "bc",     "abdeg", "abcdg", "bcfg",
                                              "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
    QImage image = Blank(9, 15);
    for (const char* s = kSegments[digit]; *s; ++s) {
        switch (*s) {
            case 'a': Fill(image, 1, 0, 7, 2); break;
            case 'b': Fill(image, 7, 1, 2, 6); break;
            case 'c': Fill(image, 7, 8, 2, 6); break;
            case 'd': Fill(image, 1, 13, 7, 2); break;
            case 'e': Fill(image, 0, 8, 2, 6); break;
            case 'f': Fill(image, 0, 1, 2, 6); break;
            case 'g': Fill(image, 1, 6, 7, 3); break;
        }
    }
    return image;
}

QImage KeyLock() {
    QImage image = Blank(9, 11);
    Fill(image, 2, 0, 5, 1);
    Fill(image, 1, 1, 1, 4);
    Fill(image, 7, 1, 1, 4);
    Fill(image, 0, 5, 9, 6);
    Fill(image, 4, 7, 1, 2, Qt::white);
    return image;
}

QImage SmallEnvelope() {
    QImage image = Blank(12, 9);
    Fill(image, 0, 0, 12, 1);
    Fill(image, 0, 8, 12, 1);
    Fill(image, 0, 0, 1, 9);
    Fill(image, 11, 0, 1, 9);
    for (int i = 1; i < 6; ++i) {
        Fill(image, i, i, 1, 1);
        Fill(image, 11 - i, i, 1, 1);
    }
    return image;
}

// Colour pictures, drawn smooth.
template <typename Draw>
QImage Painted(int w, int h, QColor background, Draw draw) {
    QImage image = Blank(w, h, background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return image;
}

QImage Wallpaper() {
    return Painted(101, 80, Qt::white, [](QPainter& p) {
        QLinearGradient sky(0, 0, 0, 56);
        sky.setColorAt(0, QColor(20, 40, 120));
        sky.setColorAt(0.6, QColor(230, 110, 60));
        sky.setColorAt(1, QColor(250, 210, 120));
        p.fillRect(0, 0, 101, 80, sky);
        QRadialGradient sun(70, 48, 14);
        sun.setColorAt(0, QColor(255, 250, 200));
        sun.setColorAt(1, QColor(255, 170, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(sun);
        p.drawEllipse(QPointF(70, 48), 12, 12);
        QPainterPath hills;
        hills.moveTo(0, 80);
        hills.lineTo(0, 58);
        hills.cubicTo(25, 44, 45, 70, 101, 54);
        hills.lineTo(101, 80);
        hills.closeSubpath();
        QLinearGradient grass(0, 50, 0, 80);
        grass.setColorAt(0, QColor(60, 140, 50));
        grass.setColorAt(1, QColor(20, 70, 30));
        p.setBrush(grass);
        p.drawPath(hills);
    });
}

QImage Envelope() {
    return Painted(20, 14, Qt::white, [](QPainter& p) {
        p.setPen(QPen(QColor(40, 60, 140), 1));
        p.setBrush(QColor(250, 230, 150));
        p.drawRect(QRectF(0.5, 0.5, 19, 13));
        p.drawLine(QPointF(0.5, 0.5), QPointF(10, 8));
        p.drawLine(QPointF(19.5, 0.5), QPointF(10, 8));
    });
}

QImage Handset() {
    return Painted(22, 22, Qt::white, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 170, 70));
        p.drawEllipse(QRectF(0.5, 0.5, 21, 21));
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        QPainterPath path;
        path.moveTo(6, 7);
        path.cubicTo(6, 13, 9, 16, 15, 16);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.drawLine(QPointF(5, 6), QPointF(8, 5));
        p.drawLine(QPointF(16, 14), QPointF(17, 17));
    });
}

QImage Heart() {
    return Painted(15, 13, Qt::white, [](QPainter& p) {
        QPainterPath path;
        path.moveTo(7.5, 12.5);
        path.cubicTo(-3, 5, 3, -2, 7.5, 3.5);
        path.cubicTo(12, -2, 18, 5, 7.5, 12.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(235, 52, 95));
        p.drawPath(path);
    });
}

QImage Folder() {
    return Painted(24, 20, Qt::white, [](QPainter& p) {
        p.setPen(QPen(QColor(150, 100, 20), 1));
        p.setBrush(QColor(240, 190, 60));
        p.drawRect(QRectF(1.5, 2.5, 9, 4));
        QLinearGradient body(0, 5, 0, 19);
        body.setColorAt(0, QColor(255, 220, 100));
        body.setColorAt(1, QColor(230, 160, 40));
        p.setBrush(body);
        p.drawRect(QRectF(1.5, 5.5, 21, 13));
    });
}

// Hue across, brightness down: every 12-bit colour family at a glance.
QImage ColorChart() {
    QImage image = Blank(32, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y, QColor::fromHsv(x * 360 / 32, 255, 255 - y * 9).rgb());
    return image;
}

QImage AlarmClock() {
    return Painted(24, 24, Qt::white, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(200, 40, 40));
        p.drawEllipse(QRectF(1, 1, 7, 7));
        p.drawEllipse(QRectF(16, 1, 7, 7));
        p.setBrush(QColor(250, 250, 240));
        p.drawEllipse(QRectF(2.5, 3.5, 19, 19));
        p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 13), QPointF(12, 7));
        p.drawLine(QPointF(12, 13), QPointF(16, 15));
    });
}

QImage Gear() {
    return Painted(32, 32, Qt::white, [](QPainter& p) {
        QPainterPath path;
        for (int i = 0; i < 16; ++i) {
            const double a = i * std::numbers::pi / 8;
            const double r = i % 2 == 0 ? 15 : 11.5;
            const QPointF point(16 + r * std::cos(a), 16 + r * std::sin(a));
            i == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        path.closeSubpath();
        path.addEllipse(QPointF(16, 16), 5, 5);
        QRadialGradient metal(12, 12, 18);
        metal.setColorAt(0, QColor(220, 225, 235));
        metal.setColorAt(1, QColor(90, 100, 120));
        p.setPen(QPen(QColor(50, 55, 70), 1));
        p.setBrush(metal);
        p.drawPath(path);
    });
}

QImage Camera() {
    return Painted(28, 22, Qt::white, [](QPainter& p) {
        p.setPen(QPen(QColor(30, 30, 30), 1));
        p.setBrush(QColor(70, 70, 80));
        p.drawRoundedRect(QRectF(1.5, 5.5, 25, 15), 3, 3);
        p.drawRect(QRectF(9.5, 2.5, 9, 4));
        QRadialGradient lens(13, 12, 7);
        lens.setColorAt(0, QColor(140, 200, 255));
        lens.setColorAt(1, QColor(10, 30, 80));
        p.setBrush(lens);
        p.drawEllipse(QPointF(14, 13), 5.5, 5.5);
        p.setBrush(QColor(255, 220, 80));
        p.drawRect(QRectF(21.5, 7.5, 3, 2));
    });
}

QImage MusicNote() {
    return Painted(20, 24, Qt::white, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 40, 170));
        p.drawEllipse(QPointF(5, 19), 4.5, 3.5);
        p.drawEllipse(QPointF(15, 16), 4.5, 3.5);
        p.drawRect(QRectF(8, 3, 2, 16));
        p.drawRect(QRectF(18, 1, 2, 15));
        p.drawPolygon(QPolygonF({QPointF(8, 3), QPointF(20, 0), QPointF(20, 4), QPointF(8, 7)}));
    });
}

// A padlock in the four colours of the 2-bit encoding: black, white, blue
// and the grey of the phone's menus.
QImage Padlock2() {
    QImage image = Blank(16, 16, QColor::fromRgb(Palette2[3]));
    const QColor black = QColor::fromRgb(Palette2[0]), white = QColor::fromRgb(Palette2[1]),
                 blue = QColor::fromRgb(Palette2[2]);
    Fill(image, 4, 1, 8, 2, black);
    Fill(image, 3, 2, 2, 6, black);
    Fill(image, 11, 2, 2, 6, black);
    Fill(image, 2, 7, 12, 8, blue);
    Fill(image, 2, 7, 12, 1, black);
    Fill(image, 2, 14, 12, 1, black);
    Fill(image, 7, 9, 2, 3, white);
    return image;
}

// The 2-bit encoding has no encoder: the nearest of the four colours,
// four pixels a byte, leftmost in the top bits, rows padded to whole bytes.
QByteArray EncodeTwoBit(const QImage& image) {
    QByteArray out;
    for (int y = 0; y < image.height(); ++y) {
        for (int x0 = 0; x0 < image.width(); x0 += 4) {
            int byte = 0;
            for (int k = 0; k < 4; ++k) {
                int index = 3;
                if (x0 + k < image.width()) {
                    const QRgb c = image.pixel(x0 + k, y);
                    int best = -1;
                    for (int i = 0; i < 4; ++i) {
                        const int d = std::abs(qRed(c) - qRed(Palette2[i])) +
                                      std::abs(qGreen(c) - qGreen(Palette2[i])) +
                                      std::abs(qBlue(c) - qBlue(Palette2[i]));
                        if (best < 0 || d < best) best = d, index = i;
                    }
                }
                byte = byte << 2 | index;
            }
            out.append(static_cast<char>(byte));
        }
    }
    return out;
}

QByteArray Encoded(const DemoIcon& icon) {
    const int w = icon.image.width(), h = icon.image.height();
    if ((icon.type & ~kCompressed) == kType2Bit) return EncodeTwoBit(icon.image);
    QByteArray out(EncodeBufferSize(w, h), Qt::Uninitialized);
    const std::int32_t length = EncodePixels(icon.image, w, h, icon.type,
                                             reinterpret_cast<std::uint8_t*>(out.data()));
    out.truncate(length);
    return out;
}

std::vector<DemoIcon> PitIcons() {
    std::vector<DemoIcon> icons;
    icons.push_back({Dot(), 0x81});  // the 4 x 4 record that table discovery probes for
    for (int level = 0; level <= 4; ++level) icons.push_back({Battery(level), 0x01});
    for (int level = 0; level <= 4; ++level) icons.push_back({Signal(level), 0x81});
    for (int digit = 0; digit <= 9; ++digit) icons.push_back({Digit(digit), 0x81});
    icons.push_back({Wallpaper(), 0x88});
    icons.push_back({Envelope(), 0x08});
    icons.push_back({Handset(), 0x87});
    icons.push_back({Heart(), 0x05});
    icons.push_back({Folder(), 0x85});
    icons.push_back({ColorChart(), 0x07});
    icons.push_back({Padlock2(), 0x03});
    icons.push_back({AlarmClock(), 0x88});
    return icons;
}

std::vector<std::vector<DemoIcon>> ExtPitIcons() {
    return {{{Gear(), 0x88}, {Camera(), 0x08}, {MusicNote(), 0x87}},
            {{KeyLock(), 0x01}, {SmallEnvelope(), 0x81}}};
}

// Places the icon's data at `pos` and returns its record.
RecordSpec PutIcon(FlashBuilder& builder, std::int32_t& pos, const DemoIcon& icon) {
    const QByteArray data = Encoded(icon);
    builder.Bytes(pos, data);
    const RecordSpec record{static_cast<std::uint8_t>(icon.image.width()),
                            static_cast<std::uint8_t>(icon.image.height()), icon.type, pos};
    pos += (static_cast<std::int32_t>(data.size()) + 3) & ~3;
    return record;
}

}  // namespace

QByteArray BuildDemoFlash() {
    BuildColorTables();
    FlashBuilder builder = FlashBuilder::C55();
    // Stand-ins for code and data around the build information.
    builder.Random(0x800000, kBuildInfo - 0x100 - 0x800000, 0x55C0DE);
    builder.BuildInfo(kBuildInfo, "C55", 0x50);
    builder.Random(kBuildInfo + 0x1000, kExtPitCode - 0x100 - kBuildInfo - 0x1000, 0x0C55);
    builder.ExtPitCode(kExtPitCode, c55::kExtPitAdr);

    std::int32_t data = demo::kDataArea;
    std::vector<RecordSpec> pit;
    for (const DemoIcon& icon : PitIcons()) pit.push_back(PutIcon(builder, data, icon));
    builder.Pit(c55::kSpitAdr, demo::kPitStart, pit);

    std::vector<ExtPitRunSpec> runs;
    std::int32_t run = demo::kExtRuns;
    for (const auto& entry : ExtPitIcons()) {
        ExtPitRunSpec spec;
        spec.runPos = run;
        for (const DemoIcon& icon : entry) spec.records.push_back(PutIcon(builder, data, icon));
        run += 0x100;
        runs.push_back(spec);
    }
    builder.ExtPit(c55::kExtPitAdr, runs);
    return builder.File();
}

DemoCounts DemoPictureCounts() {
    DemoCounts counts;
    counts.pit = static_cast<int>(PitIcons().size());
    for (const auto& entry : ExtPitIcons()) counts.ext += static_cast<int>(entry.size());
    return counts;
}

}  // namespace vorlix
