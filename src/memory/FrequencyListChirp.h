#pragma once
// CHIRP memory lists (the CSV radio editors exchange memories in): a header
// row naming the columns, then one row per memory, separated by ',' with
// "..." quoting. Columns are found by their heading; Frequency is in MHz,
// Mode one of AM, USB, LSB, CW, FM, ...; Location orders nothing here (the
// rows are taken in the file's order).
//
// Sample:
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
//   1,FT8,7.074000,,0.000000,,88.5,88.5,023,NN,USB,5.00,,,,,,
//
// The row gives the entry 7074000.0 Hz, "FT8", mode "USB". Export writes
// that header and one row per slot that holds something, Location = the
// slot number, Modulation DSB as "AM", CW as "CW", SSB as "USB" (noted),
// Auto as "Auto"; frequencies to the whole Hz (six decimals of MHz).

#include "memory/FrequencyList.h"

namespace lmk {

FrequencyList readChirpCsv(const QString &text);

FrequencyExport writeChirpCsv(const QByteArray &image);

} // namespace lmk
