#include "calc/formulas.h"

#include "calc/arithmetic.h"
#include "calc/number_text.h"

namespace calc {

double ratio_without_voltage_transformer(std::string_view current)
{
    const double i = to_number(current);
    return checked_quotient(i, secondary_current);
}

double ratio_with_voltage_transformer(const TransformerTexts& texts)
{
    const double v = checked_quotient(to_number(texts.voltage), secondary_voltage);
    const double i = to_number(texts.current);
    return checked_product(checked_quotient(i, secondary_current), v);
}

double kwh_equivalent(std::string_view wh)
{
    return checked_quotient(to_number(wh), wh_per_kwh);
}

double wh_per_pulse(const PulseTexts& texts)
{
    const double w = to_number(texts.wh);
    const double p = to_number(texts.pulses);
    const double q = checked_quotient(w, p);
    const double r = to_number(texts.ratio);
    return checked_product(r, q);
}

}  // namespace calc
