// The room's sizes in samples at one sample rate, for the variant that plays the room as it
// sounds at the bank's rate: every time the bank-rate design fixes in samples (the stage regions,
// the 255-sample onset, the aligning delay, the tail) becomes the same time at the new rate.
#pragma once

#include <cstdint>

// The rates the rate-true room resamples its bank for; outside them it plays the tables as they
// are, as the original room does at every rate.
constexpr int kMinRateTrueRate = 8000;
constexpr int kMaxRateTrueRate = 384000;

struct CRoomLayout
{
    int nSampleRate;     // the rate the layout is for
    int nTableRate;      // the rate the tables are played at: nSampleRate, or the bank's own
    int nTableLength;    // samples of each table at nTableRate (the bank's 69632 at its rate)
    int nResponseLength; // nTableLength padded with zeros to the end of the late stage
    int nEarlyLength;    // the early stage covers [0, nEarlyLength) ...
    int nEarlyPartition; // ... in partitions of this many samples
    int nLateStart;      // the late stage covers [nLateStart, nLateStart + nLateLength) ...
    int nLateLength;
    int nLatePartition; // ... in partitions of this many samples
    int nOnset;         // samples from the input to response sample 0 in the output
    int nEarlyDelay;    // after the early stage, to make up its 2c - 1 samples to nOnset
    int nLateDelay;     // after the late stage, to put response sample nLateStart in line
};

// The layout for a session rate. Partition sizes are powers of two that scale with the rate
// (the bank-rate sizes times the power of two nearest the rate's ratio), so that each stage
// keeps about the same number of partitions and its work per second grows as the rate does.
// At the bank's rate, and at rates outside kMinRateTrueRate … kMaxRateTrueRate, it is the
// bank-rate layout of RoomConstants.h exactly.
CRoomLayout roomLayoutAt(int sampleRate);

// The tail that covers `samples` samples at a rate, in milliseconds, rounded up so that a host
// truncating ms / 1000 * rate still gets every one of them.
float tailTimeMsFor(long samples, int sampleRate);
