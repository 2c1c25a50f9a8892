// Sound absorption by the atmosphere (ISO 9613-1): classical and rotational losses plus the
// vibrational relaxation of oxygen and nitrogen, whose relaxation frequencies depend on the
// water vapour in the air.
#pragma once

namespace irgen {
// Pure-tone attenuation in dB per metre at `hz` for air at `celsius`, `humidityPercent`
// relative humidity and `pressureKPa` ambient pressure.
double airAttenuationDbPerMetre(double hz, double celsius, double humidityPercent, double pressureKPa);

} // namespace irgen
