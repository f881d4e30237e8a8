#include "result_output.h"

#include "number_text.h"

#include <QJsonArray>

namespace cli {

QJsonObject resultJson(const engine::CalculationState &state, const engine::CalculationResult &result)
{
    QJsonObject object {
        {QStringLiteral("StorageWidth"), state.StorageWidth},
        {QStringLiteral("StorageDepth"), state.StorageDepth},
        {QStringLiteral("StorageHeight"), state.StorageHeight},
        {QStringLiteral("PointDistance"), state.PointDistance},
        {QStringLiteral("ScreenDistance"), state.ScreenDistance},
        {QStringLiteral("ScreenEfficiency"), state.ScreenEfficiency},
        {QStringLiteral("ScreenHeight"), state.ScreenHeight},
        {QStringLiteral("CountedFaceWidth"), state.CountedFaceWidth},
        {QStringLiteral("PointFraction"), state.PointFraction},
        {QStringLiteral("EquivalentDiameter"), state.EquivalentDiameter},
        {QStringLiteral("FlameHeight"), state.FlameHeight},
        {QStringLiteral("Transmission"), state.Transmission},
        {QStringLiteral("BaseFlameTemperature"), state.BaseFlameTemperature},
        {QStringLiteral("TipFlameTemperature"), state.TipFlameTemperature},
        {QStringLiteral("StripCount"), state.StripCount},
    };
    QJsonArray levels;
    for (double level : result.levels)
        levels.append(level); // QJsonDocument writes the shortest round-trip form
    QJsonArray texts;
    for (const std::string &text : result.texts)
        texts.append(QString::fromStdString(text));
    object.insert(QStringLiteral("levels"), levels);
    object.insert(QStringLiteral("texts"), texts);
    return object;
}

QString plainResult(const engine::CalculationInput &input, const engine::CalculationResult &result)
{
    QString text;
    for (std::size_t i = 0; i < result.texts.size(); ++i) {
        // Indoor storage has one point, at the height the calculation put into point 1.
        const double height = result.firstHeightWritten && i == 0 ? result.firstHeight : input.heights[i];
        text += QStringLiteral("Beoordelingspunt %1: hoogte %2 m, %3 kW/m²\n")
                    .arg(i + 1)
                    .arg(QString::fromStdString(engine::numberToText(height, '.')),
                         QString::fromStdString(result.texts[i]));
    }
    return text;
}

} // namespace cli
