#pragma once
// What the picture of a measurement scheme shows, worked out from the scheme table so that the drawing
// code only places it: which pipes exist, where pipe 3 joins the plant, which measuring points are marked
// ("t%d", "P%d", "V%d", "tхв") and the caption. Every scheme gets a picture unlike any other's, so a
// fitter tells them apart at a glance.

#include <QString>
#include <QStringList>

#include "config/tunes_record.h"

// Where pipe 3 sits in the plant.
enum class Pipe3Role {
    kNone,               // no pipe 3 in the picture
    kDrawOffFromSupply,  // open system: hot water taken from the supply pipe
    kDrawOffFromReturn,  // open system: hot water taken from the return pipe
    kCirculation,        // open system: the hot-water circulation line back into the return
    kMakeUpIntoReturn,   // make-up water fed into the return pipe
    kSeparateLine,       // a line of its own next to the consumer (hot water through a heat exchanger)
};

// What stands at the left end of the supply and return pipes.
enum class PlantSide {
    kHeatNetwork,  // the consumer takes heat from a network: "Тепловая сеть"
    kHeatSource,   // the meter sits at a source: "Источник"
};

struct SchemePictureLayout {
    int scheme = 0;
    bool pipeDrawn[kPipeCount] = {false, false, false};
    bool deadEnd = false;  // the water does not come back: both pipes run towards the consumer
    Pipe3Role pipe3 = Pipe3Role::kNone;
    PlantSide plant = PlantSide::kHeatNetwork;
    bool coldWaterPoint = false;       // "tхв": some combination of the scheme takes the cold-water enthalpy
    QString plantText;                 // text of the box at the left
    QString consumerText;              // text of the consumer box
    std::uint8_t temperatureMask = 0;  // the scheme's masks: bit p for pipe p (from 0)
    std::uint8_t pressureMask = 0;
    std::uint8_t volumeMask = 0;

    // The point labels of pipe `pipe` (from 0) in drawing order: "t%d", "P%d", "V%d" as the masks say.
    QStringList PointLabels(int pipe) const;
    // Every point label of the picture, pipes in order, then "tхв" when marked.
    QStringList AllPointLabels() const;
};

// The layout of `scheme` 1..14; an empty one (nothing drawn) for 0 or an invalid number.
SchemePictureLayout SchemePictureLayoutOf(int scheme);

inline const char* const kColdWaterPointLabel = "tхв";

// "СИ %d, КТ3=%d, ФРТ=%d", or "ТВ НЕ ИСПОЛЬЗУЕТСЯ" for an input without a scheme.
QString SchemePictureCaption(const InputSettings& input);
