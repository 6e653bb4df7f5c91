// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgettestmain.h"
#include "app/application.h"
#include "chart/axisscale.h"
#include "chart/barlayout.h"
#include "chart/chart.h"
#include "chart/chartpalette.h"
#include "chart/horizontalbarseries.h"

#include <QAccessible>
#include <QImage>
#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>

// The chart component: its nice value scale, palette and bar geometry, and the
// evaluation chart as drawn, checked pixel by pixel.
class ChartTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void niceScale_data();
    void niceScale();
    void niceScaleIsRoundAndTight();
    void tickTexts_data();
    void tickTexts();
    void paletteColors_data();
    void paletteColors();
    void barFrontRect_data();
    void barFrontRect();
    void barLengthFraction_data();
    void barLengthFraction();
    void automaticPointColors();

    void propertiesAreSettableByName();
    void changesRepaint();
    void panelShadesFromTopToBottomInsideBevels();
    void barsStandInPositionOrderAndColour();
    void barLengthsFollowTheValues();
    void marksShowLabelsInPaleYellowBoxes_data();
    void marksShowLabelsInPaleYellowBoxes();
    void awkwardContentDrawsSafely_data();
    void awkwardContentDrawsSafely();
    void keysMoveTheCurrentBar_data();
    void keysMoveTheCurrentBar();
    void screenReadersSeeEachBar();
    void focusFrameFollowsTheCurrentBar();
};

Q_DECLARE_METATYPE(BarPlacement)

namespace {

const QRgb kMarkYellow = qRgb(255, 255, 128);
const QStringList kIndexLabels{QStringLiteral("思考守旧值"), QStringLiteral("联想发现值"), QStringLiteral("思维发散值"),
                               QStringLiteral("头脑发热值")};

// A chart set up as the evaluation window lays it out, holding one bar per value.
std::unique_ptr<Chart> evaluationChart(const QList<double> &values, const QStringList &labels = kIndexLabels)
{
    auto chart = std::make_unique<Chart>();
    chart->resize(537, 313);
    QFont font(QStringLiteral("SimSun"));
    font.setPixelSize(14);
    chart->setFont(font);
    chart->setTitle(QStringLiteral("思维评价"));
    chart->setBottomAxisTitle(QStringLiteral("指标值"));
    chart->setLeftAxisTitle(QStringLiteral("指标名称"));
    chart->setLeftAxisLabelsVisible(false);
    auto series = std::make_unique<HorizontalBarSeries>(QStringLiteral("Series1"));
    series->setColorEachPoint(true);
    for (int i = 0; i < values.size(); ++i)
        series->addBar(values[i], labels.value(i));
    chart->addSeries(std::move(series));
    return chart;
}

QImage render(Chart &chart)
{
    return chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool isNear(QRgb actual, const QColor &expected, int tolerance = 12)
{
    return std::abs(qRed(actual) - expected.red()) <= tolerance
        && std::abs(qGreen(actual) - expected.green()) <= tolerance
        && std::abs(qBlue(actual) - expected.blue()) <= tolerance;
}

// The bounding boxes of the pale-yellow areas big enough to be mark boxes (a
// bar's gradient passes through pale yellow in a stripe or two), bottom first.
QList<QRect> markBoxesIn(const QImage &image)
{
    QList<QRect> boxes;
    QList<bool> seen(qsizetype(image.width()) * image.height(), false);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (seen[y * image.width() + x] || image.pixel(x, y) != kMarkYellow)
                continue;
            QRect box(x, y, 1, 1);
            QList<QPoint> pending{QPoint(x, y)};
            seen[y * image.width() + x] = true;
            while (!pending.isEmpty()) {
                const QPoint p = pending.takeLast();
                box |= QRect(p, QSize(1, 1));
                for (QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint next = p + step;
                    if (image.rect().contains(next) && !seen[next.y() * image.width() + next.x()]
                        && image.pixel(next) == kMarkYellow) {
                        seen[next.y() * image.width() + next.x()] = true;
                        pending.append(next);
                    }
                }
            }
            if (box.width() >= 10 && box.height() >= 8)
                boxes.append(box);
        }
    }
    std::sort(boxes.begin(), boxes.end(), [](QRect a, QRect b) { return a.center().y() > b.center().y(); });
    return boxes;
}

// Counts the paint events of the widget it watches.
class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

bool holdsDarkText(const QImage &image, const QRect &box)
{
    for (int y = box.top() + 1; y < box.bottom(); ++y) {
        for (int x = box.left() + 1; x < box.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 100)
                return true;
        }
    }
    return false;
}

} // namespace

void ChartTest::initTestCase()
{
    installFontSubstitutions();
}

void ChartTest::niceScale_data()
{
    const double largest = std::numeric_limits<double>::max();
    QTest::addColumn<double>("largestValue");
    QTest::addColumn<int>("maximumSteps");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("step");
    QTest::newRow("fits in steps of 1") << 7.0 << 8 << 7.0 << 1.0;
    QTest::newRow("one over: steps of 2") << 9.0 << 8 << 10.0 << 2.0;
    QTest::newRow("tens") << 73.0 << 5 << 80.0 << 20.0;
    QTest::newRow("millions") << 1234567.0 << 6 << 1500000.0 << 500000.0;
    QTest::newRow("one") << 1.0 << 8 << 1.0 << 0.2;
    QTest::newRow("fraction") << 0.0042 << 4 << 0.006 << 0.002;
    QTest::newRow("fraction on a step") << 0.6 << 3 << 0.6 << 0.2;
    QTest::newRow("huge") << 1e300 << 5 << 1e300 << 2e299;
    QTest::newRow("top of the double range") << largest << 4 << largest << 5e307;
    QTest::newRow("no step count") << 7.0 << 0 << 10.0 << 10.0;
    QTest::newRow("all zero") << 0.0 << 8 << 10.0 << 2.0;
    QTest::newRow("negative") << -5.0 << 10 << 10.0 << 1.0;
    QTest::newRow("denormal") << 1e-320 << 8 << 10.0 << 2.0;
    QTest::newRow("NaN") << qQNaN() << 8 << 10.0 << 2.0;
    QTest::newRow("infinity") << qInf() << 8 << 10.0 << 2.0;
}

void ChartTest::niceScale()
{
    QFETCH(double, largestValue);
    QFETCH(int, maximumSteps);
    QFETCH(double, maximum);
    QFETCH(double, step);
    const AxisScale scale = niceAxisScale(largestValue, maximumSteps);
    QCOMPARE(scale.maximum, maximum);
    QCOMPARE(scale.step, step);
    QVERIFY(axisTickValues(scale).size() >= 2);
}

void ChartTest::niceScaleIsRoundAndTight()
{
    for (int steps = 1; steps <= 12; ++steps) {
        for (double largest = 1e-9; largest < 1e12; largest *= 1.37) {
            const AxisScale scale = niceAxisScale(largest, steps);
            const double mantissa = scale.step / std::pow(10.0, std::floor(std::log10(scale.step)));
            const double count = scale.maximum / scale.step;
            const QByteArray where = QByteArray::number(largest) + " in " + QByteArray::number(steps);
            QVERIFY2(qFuzzyCompare(mantissa, 1) || qFuzzyCompare(mantissa, 2) || qFuzzyCompare(mantissa, 5)
                         || qFuzzyCompare(mantissa, 10),
                     where);
            QVERIFY2(std::abs(count - std::round(count)) < 1e-9 && std::round(count) <= steps, where);
            QVERIFY2(scale.maximum >= largest * (1 - 1e-9), where);
            QVERIFY2(scale.maximum - scale.step < largest, where);
            QCOMPARE(axisTickValues(scale).size(), qsizetype(std::round(count)) + 1);
        }
    }
}

void ChartTest::tickTexts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 3.0 << 1.0 << QStringLiteral("3");
    QTest::newRow("millions") << 1500000.0 << 500000.0 << QStringLiteral("1500000");
    QTest::newRow("zero in tenths") << 0.0 << 0.2 << QStringLiteral("0.0");
    QTest::newRow("rounding error hidden") << 3 * 0.1 << 0.1 << QStringLiteral("0.3");
    QTest::newRow("hundredths") << 0.05 << 0.05 << QStringLiteral("0.05");
    QTest::newRow("huge") << 2e20 << 1e20 << QStringLiteral("2e+20");
    QTest::newRow("tiny") << 3e-7 << 1e-7 << QStringLiteral("3e-07");
}

void ChartTest::tickTexts()
{
    QFETCH(double, value);
    QFETCH(double, step);
    QFETCH(QString, text);
    QCOMPARE(axisTickText(value, step), text);
}

void ChartTest::paletteColors_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QColor>("color");
    QTest::newRow("0 red") << 0 << QColor(255, 0, 0);
    QTest::newRow("1 green") << 1 << QColor(0, 128, 0);
    QTest::newRow("2 yellow") << 2 << QColor(255, 255, 0);
    QTest::newRow("3 blue") << 3 << QColor(0, 0, 255);
    QTest::newRow("repeats") << chartPaletteSize() + 1 << QColor(0, 128, 0);
    QTest::newRow("negative wraps") << -chartPaletteSize() << QColor(255, 0, 0);
}

void ChartTest::paletteColors()
{
    QFETCH(int, position);
    QFETCH(QColor, color);
    QCOMPARE(chartPaletteColor(position), color);
    QSet<QRgb> distinct;
    for (int i = 0; i < chartPaletteSize(); ++i)
        distinct.insert(chartPaletteColor(i).rgb());
    QCOMPARE(distinct.size(), chartPaletteSize());
    QVERIFY(!distinct.contains(qRgb(255, 255, 255)) && !distinct.contains(kMarkYellow));
}

void ChartTest::barFrontRect_data()
{
    // A plot 400 × 200 whose bottom edge is at y 250, cut into 4 positions of 50.
    QTest::addColumn<BarPlacement>("placement");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QRectF>("front");
    QTest::newRow("bottom, half long") << BarPlacement{0, 4, 0, 1, 70} << 0.5 << QRectF(100, 208, 200, 35);
    QTest::newRow("top, full") << BarPlacement{3, 4, 0, 1, 70} << 1.0 << QRectF(100, 58, 400, 35);
    QTest::newRow("beyond the axis") << BarPlacement{3, 4, 0, 1, 70} << 3.0 << QRectF(100, 58, 400, 35);
    QTest::newRow("second of two series") << BarPlacement{0, 4, 1, 2, 50} << 0.0 << QRectF(100, 206, 0, 13);
    QTest::newRow("thinnest") << BarPlacement{0, 4, 0, 1, 0} << 0.25 << QRectF(100, 225, 100, 1);
}

void ChartTest::barFrontRect()
{
    QFETCH(BarPlacement, placement);
    QFETCH(double, fraction);
    QFETCH(QRectF, front);
    QCOMPARE(::barFrontRect(QRectF(100, 50, 400, 200), placement, fraction), front);
}

void ChartTest::barLengthFraction_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("fraction");
    QTest::newRow("half") << 5.0 << 0.5;
    QTest::newRow("beyond") << 25.0 << 1.0;
    QTest::newRow("negative") << -3.0 << 0.0;
    QTest::newRow("NaN") << qQNaN() << 0.0;
    QTest::newRow("infinity") << qInf() << 0.0;
}

void ChartTest::barLengthFraction()
{
    QFETCH(double, value);
    QFETCH(double, fraction);
    QCOMPARE(::barLengthFraction(value, 10), fraction);
    QCOMPARE(::barLengthFraction(value, 0), 0.0);
}

void ChartTest::automaticPointColors()
{
    HorizontalBarSeries series;
    series.setColor(Qt::magenta);
    QCOMPARE(series.addBar(1, QStringLiteral("a")), 0);
    QCOMPARE(series.addBar(-2, QStringLiteral("b"), Qt::cyan), 1);
    QCOMPARE(series.addBar(3, QString()), 2);
    QCOMPARE(series.count(), 3);
    QCOMPARE(series.value(1), -2.0);
    QCOMPARE(series.label(0), QStringLiteral("a"));
    QCOMPARE(series.pointColor(0), QColor(Qt::magenta));
    series.setColorEachPoint(true);
    QCOMPARE(series.pointColor(0), chartPaletteColor(0));
    QCOMPARE(series.pointColor(1), QColor(Qt::cyan));
    QCOMPARE(series.pointColor(2), chartPaletteColor(2));
    QCOMPARE(series.value(7), 0.0);
}

// A layout sets the chart up by property name.
void ChartTest::propertiesAreSettableByName()
{
    const QColor red(Qt::red);
    const QList<std::pair<const char *, QVariant>> settings{
        {"title", QStringLiteral("思维评价")},
        {"titleColor", red},
        {"gradientTopColor", red},
        {"gradientBottomColor", red},
        {"panelColor", red},
        {"gradientVisible", false},
        {"view3D", false},
        {"depthPercent", 30},
        {"legendVisible", true},
        {"bottomAxisTitle", QStringLiteral("x")},
        {"leftAxisTitle", QStringLiteral("y")},
        {"bottomAxisLabelsVisible", false},
        {"leftAxisLabelsVisible", true},
        {"leftAxisMinorTickLength", 5},
        {"labelFontFamily", QStringLiteral("SimSun")},
        {"labelFontPixelSize", 20},
        {"backWallFilled", true},
        {"backWallColor", red},
    };
    Chart chart;
    for (const auto &[name, value] : settings) {
        QVERIFY2(chart.setProperty(name, value), name);
        QCOMPARE(chart.property(name), value);
    }
}

void ChartTest::changesRepaint()
{
    Chart chart;
    chart.resize(300, 200);
    auto *series = chart.addSeries(std::make_unique<HorizontalBarSeries>());
    PaintCounter paints;
    chart.installEventFilter(&paints);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    const std::vector<std::function<void()>> changes{
        [series] { series->addBar(4, QStringLiteral("four")); },
        [series] { series->setMarksVisible(false); },
        [&chart] { chart.setTitle(QStringLiteral("t")); },
    };
    for (const auto &change : changes) {
        QCoreApplication::sendPostedEvents(); // the paints still due for what came before
        paints.count = 0;
        change();
        QTRY_VERIFY(paints.count > 0);
    }
}

void ChartTest::panelShadesFromTopToBottomInsideBevels()
{
    const auto chart = evaluationChart({});
    const QImage image = render(*chart);
    const int w = image.width();
    const int h = image.height();
    QVERIFY(isNear(image.pixel(3, 2), QColor(0, 255, 255), 3));
    QVERIFY(isNear(image.pixel(3, h / 2), QColor(0, 192, 255), 3));
    QVERIFY(isNear(image.pixel(3, h - 3), QColor(0, 128, 255), 3));
    const QRgb light = chart->palette().color(QPalette::Light).rgb();
    const QRgb dark = chart->palette().color(QPalette::Dark).rgb();
    QCOMPARE(image.pixel(0, h / 2), light);
    QCOMPARE(image.pixel(w / 2, 0), light);
    QCOMPARE(image.pixel(1, h / 2), dark);
    QCOMPARE(image.pixel(w - 1, h / 2), dark);
    QCOMPARE(image.pixel(w / 2, h - 1), dark);
    QCOMPARE(image.pixel(w - 2, h / 2), light);
}

void ChartTest::barsStandInPositionOrderAndColour()
{
    const auto chart = evaluationChart({2, 7, 5, 4});
    const QImage image = render(*chart);
    if (qEnvironmentVariableIsSet("ZORVEL_CHART_IMAGE"))
        image.save(qEnvironmentVariable("ZORVEL_CHART_IMAGE"));
    const QRectF plot = chart->plotArea();
    for (int i = 0; i < 4; ++i) {
        const int row = int(plot.bottom() - (i + 0.5) * plot.height() / 4);
        QVERIFY2(isNear(image.pixel(int(plot.left()) + 3, row), chartPaletteColor(i)), qPrintable(kIndexLabels[i]));
        QVERIFY(std::abs(chart->barRect(0, i).center().y() - row) <= 1);
    }
}

// Each bar's front face ends in a black outline where the value falls on the axis.
void ChartTest::barLengthsFollowTheValues()
{
    const QList<double> values{2, 7, 5, 4};
    const auto chart = evaluationChart(values);
    const QImage image = render(*chart);
    const QRectF plot = chart->plotArea();
    const AxisScale scale = chart->valueAxisScale();
    QVERIFY(scale.maximum >= 7);
    for (int i = 0; i < values.size(); ++i) {
        const int row = int(chart->barRect(0, i).center().y());
        int end = int(plot.left()) + 3;
        while (end < image.width() && image.pixel(end, row) != qRgb(0, 0, 0))
            ++end;
        const double expected = plot.left() + plot.width() * values[i] / scale.maximum;
        QVERIFY2(std::abs(end - expected) <= 2, qPrintable(QStringLiteral("%1 ends at %2").arg(values[i]).arg(end)));
    }
}

void ChartTest::marksShowLabelsInPaleYellowBoxes_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::newRow("indices") << QList<double>{2, 7, 5, 4};
    QTest::newRow("all zero") << QList<double>{0, 0, 0, 0};
    QTest::newRow("one far ahead") << QList<double>{0, 1, 1000000, 3};
    QTest::newRow("negative") << QList<double>{-5, 3, 0, 2};
}

void ChartTest::marksShowLabelsInPaleYellowBoxes()
{
    QFETCH(QList<double>, values);
    const auto chart = evaluationChart(values);
    const QImage image = render(*chart);
    const QList<QRect> boxes = markBoxesIn(image);
    QCOMPARE(boxes.size(), values.size());
    const QRect inside = image.rect().adjusted(2, 2, -2, -2);
    for (int i = 0; i < boxes.size(); ++i) {
        QVERIFY(chart->markRect(0, i).contains(boxes[i].center()));
        QVERIFY(boxes[i].left() > chart->barRect(0, i).right() + 20);
        QVERIFY(inside.contains(chart->markRect(0, i).toRect()));
        QVERIFY(holdsDarkText(image, boxes[i]));
    }
}

void ChartTest::awkwardContentDrawsSafely_data()
{
    QList<double> many;
    for (int i = 0; i < 300; ++i)
        many.append(i);
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<int>("seriesCount");
    QTest::addColumn<QSize>("size");
    QTest::newRow("empty") << QList<double>{} << 1 << QSize(537, 313);
    QTest::newRow("many points") << many << 1 << QSize(537, 313);
    QTest::newRow("huge") << QList<double>{1e300, std::numeric_limits<double>::max(), 1} << 1 << QSize(537, 313);
    QTest::newRow("not numbers") << QList<double>{qQNaN(), qInf(), -qInf(), 5} << 1 << QSize(537, 313);
    QTest::newRow("negative only") << QList<double>{-1, -1e9} << 1 << QSize(537, 313);
    QTest::newRow("three series") << QList<double>{3, 1, 2} << 3 << QSize(537, 313);
    QTest::newRow("tiny widget") << QList<double>{1, 2, 3} << 1 << QSize(12, 8);
    QTest::newRow("one pixel") << QList<double>{1, 2, 3} << 2 << QSize(1, 1);
}

void ChartTest::awkwardContentDrawsSafely()
{
    QFETCH(QList<double>, values);
    QFETCH(int, seriesCount);
    QFETCH(QSize, size);
    const auto chart = evaluationChart(values);
    for (int s = 1; s < seriesCount; ++s) {
        auto *series = chart->addSeries(std::make_unique<HorizontalBarSeries>());
        for (double value : values)
            series->addBar(value, QString());
    }
    chart->resize(size);
    QVERIFY(!render(*chart).isNull());
    const AxisScale scale = chart->valueAxisScale();
    QVERIFY(std::isfinite(scale.maximum) && std::isfinite(scale.step) && scale.step > 0);
    for (double value : values)
        QVERIFY(!std::isfinite(value) || value <= scale.maximum);
}

ZORVEL_WIDGET_TEST_MAIN(ChartTest)
void ChartTest::keysMoveTheCurrentBar_data()
{
    QTest::addColumn<int>("bars");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("current"); // after each key
    const QList<int> down{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down};
    QTest::newRow("down to the last, and it stays") << 4 << down << QList<int>{1, 2, 3, 3};
    QTest::newRow("up from the first stays")
        << 4 << QList<int>{Qt::Key_Up, Qt::Key_Right, Qt::Key_Left} << QList<int>{0, 1, 0};
    QTest::newRow("end and home") << 4 << QList<int>{Qt::Key_End, Qt::Key_Up, Qt::Key_Home} << QList<int>{3, 2, 0};
    QTest::newRow("other keys change nothing")
        << 4 << QList<int>{Qt::Key_Down, Qt::Key_A, Qt::Key_Space} << QList<int>{1, 1, 1};
    QTest::newRow("no bars") << 0 << QList<int>{Qt::Key_Down, Qt::Key_End} << QList<int>{-1, -1};
}

// The arrows step through the bars in reading order, from the top one down,
// without wrapping round.
void ChartTest::keysMoveTheCurrentBar()
{
    QFETCH(int, bars);
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, current);
    auto chart = evaluationChart(QList<double>{10, 20, 30, 40}.mid(0, bars));
    QCOMPARE(chart->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(chart->currentBar(), bars ? 0 : -1);
    QList<int> seen;
    for (int key : keys) {
        QTest::keyClick(chart.get(), Qt::Key(key));
        seen.append(chart->currentBar());
    }
    QCOMPARE(seen, current);
}

// Each bar is a child of the chart, in reading order, named by its label and
// value; the current one is focused while the chart has the focus.
void ChartTest::screenReadersSeeEachBar()
{
    QWidget window;
    auto chart = evaluationChart({7, 0, 33.5, 52});
    chart->setParent(&window);
    chart->setAccessibleDescription(QStringLiteral("四个指标"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(chart.get());
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Chart);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("思维评价"));
    QStringList names;
    for (int i = 0; i < accessible->childCount(); ++i) {
        QAccessibleInterface *bar = accessible->child(i);
        QCOMPARE(accessible->indexOfChild(bar), i);
        QCOMPARE(bar->parent(), accessible);
        QVERIFY(accessible->rect().contains(bar->rect().center()));
        QCOMPARE(accessible->childAt(bar->rect().center().x(), bar->rect().center().y()), bar);
        names.append(bar->text(QAccessible::Name) + QLatin1Char('/') + bar->text(QAccessible::Value));
    }
    QCOMPARE(names,
             (QStringList{QStringLiteral("头脑发热值 52/52"), QStringLiteral("思维发散值 33.5/33.5"),
                          QStringLiteral("联想发现值 0/0"), QStringLiteral("思考守旧值 7/7")}));
    QCOMPARE(accessible->child(4), nullptr);

    chart->clearFocus();
    QCOMPARE(accessible->focusChild(), nullptr);
    chart->setFocus();
    QVERIFY(chart->hasFocus());
    QTest::keyClick(chart.get(), Qt::Key_Down);
    QCOMPARE(accessible->focusChild(), accessible->child(1));
    QVERIFY(accessible->child(1)->state().focused);
    QVERIFY(!accessible->child(0)->state().focused);
}

// The focus frame is drawn, in the style's way, around the current bar only
// while the chart has the focus; a click makes the bar under it current.
void ChartTest::focusFrameFollowsTheCurrentBar()
{
    QWidget window;
    auto chart = evaluationChart({10, 20, 30, 40});
    chart->setParent(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    chart->clearFocus();
    const QImage unfocused = render(*chart);
    chart->setFocus();
    QVERIFY(chart->hasFocus());
    QTest::keyClick(chart.get(), Qt::Key_Home); // styles frame the focus once the keyboard is used
    const QImage top = render(*chart);
    QTest::keyClick(chart.get(), Qt::Key_End);
    const QImage bottom = render(*chart);
    QVERIFY(top != unfocused);
    QVERIFY(bottom != top);
    // The frame holds the bar's front and its mark.
    const QRectF frame = chart->focusFrame();
    QVERIFY(frame.contains(chart->barRect(0, 0)));
    QVERIFY(frame.contains(chart->markRect(0, 0)));
    QTest::mouseClick(chart.get(), Qt::LeftButton, {}, chart->barArea(1).center().toPoint());
    QCOMPARE(chart->currentBar(), 1);
    QTest::mouseClick(chart.get(), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(chart->currentBar(), 1);
    QTest::keyClick(chart.get(), Qt::Key_Home);
    QCOMPARE(render(*chart), top);
    chart->clearFocus();
    QCOMPARE(render(*chart), unfocused);
}

#include "tst_chart.moc"
