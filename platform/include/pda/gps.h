// The GPS intermediate driver: open, get position, get device state, close, with the published
// version-1 records (344-byte position, 216-byte device state).
//
// What the driver reads is set by PDA_GPS: "gpsd" (127.0.0.1:2947), "gpsd://HOST:PORT",
// "nmea:PATH" (a log replayed at one epoch a second, or a serial device), "demo" (the bundled
// track, in a loop) or "none" (the open fails).
#pragma once

#include "pda/kernel.h"

constexpr DWORD GPS_MAX_SATELLITES = 12;
constexpr DWORD GPS_MAX_PREFIX_NAME = 16;
constexpr DWORD GPS_MAX_FRIENDLY_NAME = 64;
constexpr DWORD GPS_VERSION_1 = 1;

constexpr DWORD GPS_VALID_UTC_TIME = 0x00000001;
constexpr DWORD GPS_VALID_LATITUDE = 0x00000002;
constexpr DWORD GPS_VALID_LONGITUDE = 0x00000004;
constexpr DWORD GPS_VALID_SPEED = 0x00000008;
constexpr DWORD GPS_VALID_HEADING = 0x00000010;
constexpr DWORD GPS_VALID_MAGNETIC_VARIATION = 0x00000020;
constexpr DWORD GPS_VALID_ALTITUDE_WRT_SEA_LEVEL = 0x00000040;
constexpr DWORD GPS_VALID_ALTITUDE_WRT_ELLIPSOID = 0x00000080;
constexpr DWORD GPS_VALID_POSITION_DILUTION_OF_PRECISION = 0x00000100;
constexpr DWORD GPS_VALID_HORIZONTAL_DILUTION_OF_PRECISION = 0x00000200;
constexpr DWORD GPS_VALID_VERTICAL_DILUTION_OF_PRECISION = 0x00000400;
constexpr DWORD GPS_VALID_SATELLITE_COUNT = 0x00000800;
constexpr DWORD GPS_VALID_SATELLITES_USED_PRNS = 0x00001000;
constexpr DWORD GPS_VALID_SATELLITES_IN_VIEW = 0x00002000;
constexpr DWORD GPS_VALID_SATELLITES_IN_VIEW_PRNS = 0x00004000;
constexpr DWORD GPS_VALID_SATELLITES_IN_VIEW_ELEVATION = 0x00008000;
constexpr DWORD GPS_VALID_SATELLITES_IN_VIEW_AZIMUTH = 0x00010000;
constexpr DWORD GPS_VALID_SATELLITES_IN_VIEW_SIGNAL_TO_NOISE_RATIO = 0x00020000;

constexpr DWORD GPS_DATA_FLAGS_HARDWARE_OFF = 0x00000001;

enum GPS_FIX_QUALITY : std::uint32_t {
  GPS_FIX_QUALITY_UNKNOWN = 0,
  GPS_FIX_QUALITY_GPS = 1,
  GPS_FIX_QUALITY_DGPS = 2,
};
enum GPS_FIX_TYPE : std::uint32_t {
  GPS_FIX_UNKNOWN = 0,
  GPS_FIX_2D = 1,
  GPS_FIX_3D = 2,
};
enum GPS_FIX_SELECTION : std::uint32_t {
  GPS_FIX_SELECTION_UNKNOWN = 0,
  GPS_FIX_SELECTION_AUTO = 1,
  GPS_FIX_SELECTION_MANUAL = 2,
};

struct GPS_POSITION {
  DWORD dwVersion;
  DWORD dwSize;
  DWORD dwValidFields;
  DWORD dwFlags;
  SYSTEMTIME stUTCTime;
  double dblLatitude;
  double dblLongitude;
  float flSpeed;
  float flHeading;
  double dblMagneticVariation;
  float flAltitudeWRTSeaLevel;
  float flAltitudeWRTEllipsoid;
  GPS_FIX_QUALITY FixQuality;
  GPS_FIX_TYPE FixType;
  GPS_FIX_SELECTION SelectionType;
  float flPositionDilutionOfPrecision;
  float flHorizontalDilutionOfPrecision;
  float flVerticalDilutionOfPrecision;
  DWORD dwSatelliteCount;
  DWORD rgdwSatellitesUsedPRNs[GPS_MAX_SATELLITES];
  DWORD dwSatellitesInView;
  DWORD rgdwSatellitesInViewPRNs[GPS_MAX_SATELLITES];
  DWORD rgdwSatellitesInViewElevation[GPS_MAX_SATELLITES];
  DWORD rgdwSatellitesInViewAzimuth[GPS_MAX_SATELLITES];
  DWORD rgdwSatellitesInViewSignalToNoiseRatio[GPS_MAX_SATELLITES];
};
using PGPS_POSITION = GPS_POSITION*;

static_assert(sizeof(GPS_POSITION) == 344);
static_assert(offsetof(GPS_POSITION, stUTCTime) == 16);
static_assert(offsetof(GPS_POSITION, dblLatitude) == 32);
static_assert(offsetof(GPS_POSITION, dblLongitude) == 40);
static_assert(offsetof(GPS_POSITION, flSpeed) == 48);
static_assert(offsetof(GPS_POSITION, dblMagneticVariation) == 56);
static_assert(offsetof(GPS_POSITION, flAltitudeWRTSeaLevel) == 64);
static_assert(offsetof(GPS_POSITION, FixQuality) == 72);
static_assert(offsetof(GPS_POSITION, FixType) == 76);
static_assert(offsetof(GPS_POSITION, SelectionType) == 80);
static_assert(offsetof(GPS_POSITION, flPositionDilutionOfPrecision) == 84);
static_assert(offsetof(GPS_POSITION, dwSatelliteCount) == 96);
static_assert(offsetof(GPS_POSITION, rgdwSatellitesUsedPRNs) == 100);
static_assert(offsetof(GPS_POSITION, dwSatellitesInView) == 148);
static_assert(offsetof(GPS_POSITION, rgdwSatellitesInViewPRNs) == 152);
static_assert(offsetof(GPS_POSITION, rgdwSatellitesInViewElevation) == 200);
static_assert(offsetof(GPS_POSITION, rgdwSatellitesInViewAzimuth) == 248);
static_assert(offsetof(GPS_POSITION, rgdwSatellitesInViewSignalToNoiseRatio) == 296);

// SERVICE_STATE_* values of the device-state record.
constexpr DWORD SERVICE_STATE_OFF = 0;
constexpr DWORD SERVICE_STATE_ON = 1;
constexpr DWORD SERVICE_STATE_STARTING_UP = 2;
constexpr DWORD SERVICE_STATE_SHUTTING_DOWN = 3;
constexpr DWORD SERVICE_STATE_UNLOADING = 4;
constexpr DWORD SERVICE_STATE_UNINITIALIZED = 5;
constexpr DWORD SERVICE_STATE_UNKNOWN = 0xFFFFFFFFu;

struct GPS_DEVICE {
  DWORD dwVersion;
  DWORD dwSize;
  DWORD dwServiceState;
  DWORD dwDeviceState;
  FILETIME ftLastDataReceived;
  WCHAR szGPSDriverPrefix[GPS_MAX_PREFIX_NAME];
  WCHAR szGPSMultiplexPrefix[GPS_MAX_PREFIX_NAME];
  WCHAR szGPSFriendlyName[GPS_MAX_FRIENDLY_NAME];
};
using PGPS_DEVICE = GPS_DEVICE*;

static_assert(sizeof(GPS_DEVICE) == 216);
static_assert(offsetof(GPS_DEVICE, ftLastDataReceived) == 16);
static_assert(offsetof(GPS_DEVICE, szGPSDriverPrefix) == 24);
static_assert(offsetof(GPS_DEVICE, szGPSMultiplexPrefix) == 56);
static_assert(offsetof(GPS_DEVICE, szGPSFriendlyName) == 88);

// Opens the driver (reference-counted: every open must be closed). Either event may be null;
// the driver sets newLocationData when a position arrives and deviceStateChange when the source
// comes or goes. deviceName must be null and flags 0. Null on failure, with the last-error value.
HANDLE GPSOpenDevice(HANDLE newLocationData, HANDLE deviceStateChange, LPCWSTR deviceName,
                     DWORD flags);
// Fills the caller's record (dwVersion 1 and dwSize 344 set first). Data older than maxAge ms
// comes back with dwValidFields 0 and 0.0 latitude and longitude. Never blocks.
DWORD GPSGetPosition(HANDLE device, GPS_POSITION* position, DWORD maximumAge, DWORD flags);
DWORD GPSGetDeviceState(GPS_DEVICE* device);
DWORD GPSCloseDevice(HANDLE device);
