#include "eq/EqShapeTables.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace EqShapeTables;

namespace
{
    const ShapeRow& lfRow (int point, int n) { return lfShapeTable[(size_t) (13 * point + n)]; }
    const ShapeRow& hfRow (int point, int n) { return hfShapeTable[(size_t) (13 * point + n)]; }
    float midQ (int n, int c, int column) { return midQTable[(size_t) (11 * n + c)][(size_t) column]; }

    struct ShapeTableCase
    {
        const char* name;
        const ShapeRow* (*row) (int point, int n);
        int numPoints;
        int shelfGainColumn;
        int bellGainColumn;
    };

    const ShapeRow* lfRowPointer (int point, int n) { return &lfRow (point, n); }
    const ShapeRow* hfRowPointer (int point, int n) { return &hfRow (point, n); }

    void PrintTo (const ShapeTableCase& c, std::ostream* os) { *os << c.name; }
}

class ShapeTableInvariants : public ::testing::TestWithParam<ShapeTableCase> {};

TEST_P (ShapeTableInvariants, GainsStartFlatAndShelfGainNeverFalls)
{
    const auto& tc = GetParam();

    for (int k = 0; k < tc.numPoints; ++k)
    {
        EXPECT_EQ ((*tc.row (k, 0))[(size_t) tc.shelfGainColumn], 0.5f) << "point " << k;
        EXPECT_EQ ((*tc.row (k, 0))[(size_t) tc.bellGainColumn], 0.5f) << "point " << k;

        for (int n = 1; n < 13; ++n)
            EXPECT_GE ((*tc.row (k, n))[(size_t) tc.shelfGainColumn], (*tc.row (k, n - 1))[(size_t) tc.shelfGainColumn])
                << "point " << k << ", " << n << " dB";
    }
}

TEST_P (ShapeTableInvariants, EveryValueMovesInEvenStepsFromZeroToTwelveDecibels)
{
    // No jump between neighbouring dB rows: every step is one twelfth of the way from the
    // 0 dB row to the 12 dB row (up to the five-decimal rounding of the stored values).
    const auto& tc = GetParam();

    for (int k = 0; k < tc.numPoints; ++k)
        for (size_t col = 0; col < 6; ++col)
        {
            const double step = ((*tc.row (k, 12))[col] - (*tc.row (k, 0))[col]) / 12.0;

            for (int n = 1; n <= 12; ++n)
                EXPECT_NEAR ((*tc.row (k, n))[col] - (*tc.row (k, n - 1))[col], step, 1.1e-5)
                    << "point " << k << ", column " << col << ", " << n << " dB";
        }
}

INSTANTIATE_TEST_SUITE_P (Tables, ShapeTableInvariants, ::testing::Values (
    ShapeTableCase { "lf", lfRowPointer, numLfPoints, 1, 4 },
    ShapeTableCase { "hf", hfRowPointer, numHfPoints, 4, 1 }),
    [] (const ::testing::TestParamInfo<ShapeTableCase>& p) { return std::string (p.param.name); });

TEST (ShapeTables, MeasuredRowsAreStoredAsGiven)
{
    const ShapeRow lf90at12 { 0.28618f, 0.98608f, 0.68883f, 0.22647f, 0.54995f, 0.42014f };
    const ShapeRow lf210at0 { 0.70891f, 0.50000f, 0.64165f, 0.65569f, 0.50000f, 0.50260f };
    const ShapeRow hf17300at0 { 0.44066f, 0.50000f, 0.40000f, 0.22000f, 0.50000f, 0.32000f };
    const ShapeRow hf2500at12 { 0.09935f, 0.65182f, 0.82321f, 0.07526f, 0.97750f, 0.41268f };

    EXPECT_EQ (lfRow (2, 12), lf90at12);
    EXPECT_EQ (lfRow (6, 0), lf210at0);
    EXPECT_EQ (hfRow (9, 0), hf17300at0);
    EXPECT_EQ (hfRow (0, 12), hf2500at12);

    EXPECT_EQ (midQ (0, 5, 0), 0.20353f);
    EXPECT_EQ (midQ (12, 0, 2), 0.06104f);
    EXPECT_EQ (midQ (12, 10, 1), 0.75045f);

    EXPECT_EQ (hfFrequencyBreakpoints.front(), 2500);
    EXPECT_EQ (hfFrequencyBreakpoints[6], 5700);
    EXPECT_EQ (hfFrequencyBreakpoints.back(), 25000);
    EXPECT_EQ (midQBreakpoints[9], 4.2f);
}

TEST (ShapeTables, MidQStartsFlatAndGrowsWithTheKnob)
{
    for (int column = 0; column < 3; ++column)
    {
        for (int c = 0; c < numQPoints; ++c)
            EXPECT_EQ (midQ (0, c, column), midQ (1, c, column)) << "column " << column << ", Q point " << c;

        for (int n = 0; n < 13; ++n)
            for (int c = 1; c < numQPoints; ++c)
                EXPECT_GT (midQ (n, c, column), midQ (n, c - 1, column)) << "column " << column << ", " << n << " dB";

        // From 1 dB on the rows move in even steps to the 12 dB row.
        for (int c = 0; c < numQPoints; ++c)
        {
            const double step = (midQ (12, c, column) - midQ (1, c, column)) / 11.0;

            for (int n = 2; n <= 12; ++n)
                EXPECT_NEAR (midQ (n, c, column) - midQ (n - 1, c, column), step, 1.1e-5);
        }
    }
}

//==============================================================================
namespace
{
    /** Bilinear interpolation in double, straight from the four grid values. */
    double bilinear (double f, double f0, double f1, double a, int j, double rLow0, double rLow1, double rUp0, double rUp1)
    {
        const double fx = (f - f0) / (f1 - f0);
        const double ax = a - j;
        return (1 - fx) * ((1 - ax) * rLow0 + ax * rLow1) + fx * ((1 - ax) * rUp0 + ax * rUp1);
    }

    struct LookupCase
    {
        const char* name;
        bool hf;
        float frequency;
        float gainSize;
        int lowerPoint, upperPoint; // the grid points the value must come from
        double f0, f1;
    };

    void PrintTo (const LookupCase& c, std::ostream* os) { *os << c.name; }
}

class ShapeLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P (ShapeLookup, InterpolatesBetweenTheRightGridPoints)
{
    const auto& tc = GetParam();
    const auto result = tc.hf ? lookupHfShape (tc.frequency, tc.gainSize) : lookupLfShape (tc.frequency, tc.gainSize);
    const auto row = [&] (int point, int n) -> const ShapeRow& { return tc.hf ? hfRow (point, n) : lfRow (point, n); };

    const int j = std::min (11, (int) tc.gainSize);

    for (size_t col = 0; col < 6; ++col)
    {
        const double expected = bilinear (tc.frequency, tc.f0, tc.f1, tc.gainSize, j,
                                          row (tc.lowerPoint, j)[col], row (tc.lowerPoint, j + 1)[col],
                                          row (tc.upperPoint, j)[col], row (tc.upperPoint, j + 1)[col]);
        EXPECT_NEAR (result[col], expected, 2e-6) << "column " << col;
    }
}

INSTANTIATE_TEST_SUITE_P (GridAndBetween, ShapeLookup, ::testing::Values (
    LookupCase { "lfLowestPoint",       false, 30.0f,    0.0f,  0, 1, 30.0, 60.0 },
    LookupCase { "lfOnAGridPoint",      false, 60.0f,    5.0f,  1, 2, 60.0, 90.0 },
    LookupCase { "lfBetween",           false, 75.0f,    6.5f,  1, 2, 60.0, 90.0 },
    LookupCase { "lfNearTop",           false, 299.0f,   11.75f, 8, 9, 270.0, 300.0 },
    LookupCase { "lfTwelveBelowTop",    false, 140.0f,   12.0f, 3, 4, 120.0, 150.0 },
    LookupCase { "hfLowestBreakpoint",  true,  2500.0f,  3.0f,  0, 1, 2500.0, 2750.0 },
    LookupCase { "hfBetween",           true,  2600.0f,  9.25f, 0, 1, 2500.0, 2750.0 },
    LookupCase { "hfOnABreakpoint",     true,  17300.0f, 4.5f,  9, 10, 17300.0, 25000.0 },
    LookupCase { "hfWideInterval",      true,  20000.0f, 12.0f, 9, 10, 17300.0, 25000.0 },
    LookupCase { "hfMiddle",            true,  4800.0f,  0.5f,  5, 6, 4000.0, 5700.0 }),
    [] (const ::testing::TestParamInfo<LookupCase>& p) { return std::string (p.param.name); });

TEST (ShapeLookup, TopFrequencyUsesOnlyTheTopPoint)
{
    // At the top of the frequency axis only the gain axis is interpolated.
    const auto lf = lookupLfShape (300.0f, 6.5f);
    const auto hf = lookupHfShape (25000.0f, 2.25f);

    for (size_t col = 0; col < 6; ++col)
    {
        EXPECT_NEAR (lf[col], 0.5 * lfRow (9, 6)[col] + 0.5 * lfRow (9, 7)[col], 1e-6) << col;
        EXPECT_NEAR (hf[col], 0.75 * hfRow (10, 2)[col] + 0.25 * hfRow (10, 3)[col], 1e-6) << col;
    }

    // At a whole dB on the top point the row itself comes back.
    EXPECT_EQ (lookupLfShape (300.0f, 6.0f), lfRow (9, 6));

    // The top corner is the stored last row.
    EXPECT_EQ (lookupLfShape (300.0f, 12.0f), (ShapeRow { 0.86091f, 0.98132f, 0.34155f, 0.68404f, 0.64072f, 0.21105f }));
    EXPECT_EQ (lookupHfShape (25000.0f, 12.0f), (ShapeRow { 0.51066f, 0.39201f, 0.80932f, 0.49230f, 0.89044f, 0.07015f }));
    EXPECT_EQ (lookupLfShape (300.0f, 12.0f), lfRow (9, 12));
    EXPECT_EQ (lookupHfShape (25000.0f, 12.0f), hfRow (10, 12));
}

//==============================================================================
TEST (MidQLookup, IntervalsIncludeTheirLowerBreakpoint)
{
    struct { float knobQ; int interval; } cases[] = {
        { 0.7f, 0 }, { 0.8999f, 0 }, { 0.9f, 1 }, { 2.0f, 5 }, { 3.3999f, 7 },
        { 4.2f, 9 }, { 4.9999f, 9 }, { 5.0f, 10 }, { 5.5f, 10 }
    };

    for (const auto& c : cases)
        EXPECT_EQ (midQInterval (c.knobQ), c.interval) << c.knobQ;
}

TEST (MidQLookup, GridPointsBetweenAndTheTopCorner)
{
    for (int column = 0; column < 3; ++column)
    {
        // A knob Q of exactly 5.0 uses column 10 alone, along the gain axis.
        EXPECT_EQ (lookupMidQ (column, 5.0f, 12.0f), midQ (12, 10, column));
        EXPECT_NEAR (lookupMidQ (column, 5.0f, 6.0f), midQ (6, 10, column), 1e-7);
        EXPECT_NEAR (lookupMidQ (column, 5.0f, 6.5f), 0.5 * (midQ (6, 10, column) + midQ (7, 10, column)), 1e-6);

        // 4.2 belongs to the interval 4.2..5.0, so column 9 counts fully.
        EXPECT_NEAR (lookupMidQ (column, 4.2f, 3.0f), midQ (3, 9, column), 1e-6);
        EXPECT_NEAR (lookupMidQ (column, 4.6f, 12.0f), 0.5 * (midQ (12, 9, column) + midQ (12, 10, column)), 1e-6);

        // Between knob points and dB rows: bilinear.
        const double expected = bilinear (1.45, 1.3, 1.6, 7.25, 7,
                                          midQ (7, 3, column), midQ (8, 3, column), midQ (7, 4, column), midQ (8, 4, column));
        EXPECT_NEAR (lookupMidQ (column, 1.45f, 7.25f), expected, 2e-6);

        // 0 and 1 dB read the same.
        EXPECT_NEAR (lookupMidQ (column, 0.7f, 1.0f), midQ (0, 0, column), 1e-7);
    }
}
