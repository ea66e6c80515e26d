#!/usr/bin/env python3
"""Writes the demo receiver's track: a five-minute walk through Lisbon's Baixa, one epoch a second.

Usage: tools/make_demo_track.py > data/demo_track.nmea

Each epoch is RMC, GGA, GSA and the GSV group of a receiver with 8 to 11 satellites in view. The
walk starts indoors (a few epochs without a fix, weak signals, so "acquiring" shows), goes up
Rua Augusta at a walking pace, and loses a few satellites between the tall buildings on the way.
The output is the same on every run (a fixed random seed).
"""
import math
import random

DATE = "150325"  # 15 March 2025: recent, so gpsd's rollover correction leaves it alone
START = (10, 30, 0)
NO_FIX_EPOCHS = 8
EPOCHS = 300
GEOID = 52.0
MAGVAR = "2.1,W"
WALK_SPEED = 1.4  # metres a second

# Waypoints (lat, lon, altitude MSL): Praca do Comercio, Rua Augusta, Rossio, Restauradores.
ROUTE = [
    (38.70760, -9.13640, 8.0),
    (38.70905, -9.13705, 9.0),
    (38.71100, -9.13800, 11.0),
    (38.71300, -9.13895, 14.0),
    (38.71390, -9.13940, 16.0),
    (38.71480, -9.14060, 18.0),
    (38.71560, -9.14150, 19.0),
]

# PRN, elevation, azimuth at the start; they drift slowly.
SKY = [
    (2, 64, 41), (5, 22, 289), (7, 48, 140), (9, 12, 318), (13, 35, 210), (15, 71, 260),
    (18, 9, 76), (20, 27, 102), (24, 55, 333), (29, 16, 184), (30, 40, 12),
]


def checksum(body):
    value = 0
    for c in body:
        value ^= ord(c)
    return "%02X" % value


def sentence(body):
    return "$%s*%s" % (body, checksum(body))


def nmea_lat(lat):
    h = "N" if lat >= 0 else "S"
    lat = abs(lat)
    d = int(lat)
    return "%02d%07.4f,%s" % (d, (lat - d) * 60, h)


def nmea_lon(lon):
    h = "E" if lon >= 0 else "W"
    lon = abs(lon)
    d = int(lon)
    return "%03d%07.4f,%s" % (d, (lon - d) * 60, h)


def distance(a, b):
    dy = (b[0] - a[0]) * 111320.0
    dx = (b[1] - a[1]) * 111320.0 * math.cos(math.radians(a[0]))
    return math.hypot(dx, dy)


def bearing(a, b):
    dy = b[0] - a[0]
    dx = (b[1] - a[1]) * math.cos(math.radians(a[0]))
    return (math.degrees(math.atan2(dx, dy)) + 360.0) % 360.0


def main():
    rng = random.Random(20250315)
    print("# Demo receiver: a five-minute walk through Lisbon's Baixa, 1 Hz.")
    print("# Written by tools/make_demo_track.py; regenerate rather than edit.")
    print("# First %d epochs: no fix (indoors, acquiring), then a 3D fix while walking." %
          NO_FIX_EPOCHS)
    leg, along = 0, 0.0
    h, m, s = START
    for epoch in range(EPOCHS):
        t = "%02d%02d%02d.00" % (h, m, s)
        fix = epoch >= NO_FIX_EPOCHS
        # Position: walk along the route at about 1.4 m/s.
        if fix and epoch > NO_FIX_EPOCHS:
            step = WALK_SPEED * (0.85 + 0.3 * rng.random())
            along += step
            while leg < len(ROUTE) - 2 and along > distance(ROUTE[leg], ROUTE[leg + 1]):
                along -= distance(ROUTE[leg], ROUTE[leg + 1])
                leg += 1
            speed_ms = step
        else:
            speed_ms = 0.0
        a, b = ROUTE[leg], ROUTE[leg + 1]
        f = min(1.0, along / max(distance(a, b), 1e-9))
        lat = a[0] + (b[0] - a[0]) * f + rng.gauss(0, 0.000008)
        lon = a[1] + (b[1] - a[1]) * f + rng.gauss(0, 0.000008)
        alt = a[2] + (b[2] - a[2]) * f + rng.gauss(0, 0.6)
        course = bearing(a, b)

        # Sky: drift; weak signals indoors; a street canyon around the middle hides low satellites.
        canyon = 120 <= epoch < 150
        sats = []
        for prn, el, az in SKY:
            el2 = max(1, min(89, el + epoch // 60))
            az2 = (az + epoch // 30) % 360
            if not fix:
                snr = rng.randint(12, 24) if rng.random() < 0.5 else None
            else:
                snr = int(18 + el2 * 0.35 + rng.gauss(0, 2))
                if canyon and el2 < 25:
                    snr = None
            sats.append((prn, el2, az2, snr))
        if not fix:
            visible = sats[: 4 + epoch % 3]
        else:
            visible = [x for x in sats if not (canyon and x[1] < 20)]
        heard = sorted((x for x in visible if x[3] is not None), key=lambda x: -x[3])
        used = [x[0] for x in heard[:9]] if fix else []
        if fix and rng.random() < 0.15 and len(used) > 6:
            used = used[:-1]
        hdop = 0.8 + 6.0 / max(len(used), 1) if fix else 99.9
        pdop = hdop * 1.6
        vdop = hdop * 1.3

        if fix:
            print(sentence("GPRMC,%s,A,%s,%s,%.1f,%.1f,%s,%s,A" % (
                t, nmea_lat(lat), nmea_lon(lon), speed_ms * 1.943844, course, DATE, MAGVAR)))
            print(sentence("GPGGA,%s,%s,%s,1,%02d,%.1f,%.1f,M,%.1f,M,," % (
                t, nmea_lat(lat), nmea_lon(lon), len(used), hdop, alt, GEOID)))
            prns = ["%02d" % p for p in used] + [""] * (12 - len(used))
            print(sentence("GPGSA,A,3,%s,%.1f,%.1f,%.1f" % (",".join(prns), pdop, hdop, vdop)))
        else:
            print(sentence("GPRMC,%s,V,,,,,,,%s,,,N" % (t, DATE)))
            print(sentence("GPGGA,%s,,,,,0,00,99.9,,,,,," % t))
            print(sentence("GPGSA,A,1,,,,,,,,,,,,,99.9,99.9,99.9"))
        groups = [visible[i:i + 4] for i in range(0, len(visible), 4)] or [[]]
        for i, group in enumerate(groups):
            fields = []
            for prn, el, az, snr in group:
                fields.append("%02d,%02d,%03d,%s" % (prn, el, az, "" if snr is None else "%02d" % snr))
            body = "GPGSV,%d,%d,%02d" % (len(groups), i + 1, len(visible))
            if fields:
                body += "," + ",".join(fields)
            print(sentence(body))
        s += 1
        if s == 60:
            s, m = 0, m + 1
        if m == 60:
            m, h = 0, h + 1


if __name__ == "__main__":
    main()
