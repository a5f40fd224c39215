// Own
#include "judging.h"

// Standard
#include <algorithm>
#include <sstream>

namespace bench {

Stats statsOf(std::vector<double> values)
{
    Stats st;
    if (values.empty())
        return st;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    st.count = static_cast<int>(n);
    st.min = values.front();
    st.max = values.back();
    st.median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return st;
}

Verdict judge(const Row &row, const Stats &g, const Stats &r)
{
    Verdict v;
    v.ratio = (r.count > 0 && r.median > 0) ? g.median / r.median : NAN;
    switch (row.kind) {
    case Row::RatioToReference:
        v.target = "ratio <= " + num(row.limit, 2);
        v.judged = v.ratio;
        v.met = std::isnan(v.judged) ? "" : (v.judged <= row.limit ? "met" : "not met");
        break;
    case Row::AtMost:
    case Row::Below:
        v.target = (row.kind == Row::AtMost ? "<= " : "< ") + num(row.limit, row.limit == 0 ? 0 : 1);
        v.judged = row.judgedOn == "max" ? g.max : g.median;
        if (!std::isnan(v.judged))
            v.met = (row.kind == Row::AtMost ? v.judged <= row.limit : v.judged < row.limit) ? "met" : "not met";
        break;
    case Row::OnTime:
    case Row::OnTimeAgainstReference: {
        const bool againstReference = row.kind == Row::OnTimeAgainstReference;
        v.judged = row.judgedOn == "max" ? g.max : g.median;
        v.ratio = againstReference && r.count > 0 ? v.judged / r.median : NAN;
        const double bound = againstReference ? row.limit * r.median : row.limit;
        v.target = "0 to " + num(bound, 1) + (againstReference ? " (" + num(row.limit, 2) + " x ref)" : "");
        if (g.count == 0)
            v.met = "no runs";
        else if (!std::isnan(bound))
            v.met = g.min >= 0 && v.judged <= bound ? "met" : (g.min < 0 ? "not met (early)" : "not met");
        break;
    }
    case Row::None:
        break;
    }
    return v;
}

std::string num(double v, int precision)
{
    if (std::isnan(v))
        return "";
    std::ostringstream s;
    s.precision(precision);
    s << std::fixed << v;
    return s.str();
}

}  // namespace bench
