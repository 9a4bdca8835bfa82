#pragma once
// What the maker's service page remembers between runs: the last entries of the maker's and the
// service centre's data in "Settings\Service", and the stand's COM port as "CommRkm8" in
// "Settings\Settings". Values out of range read as their defaults.

#include <QString>

class SettingsStore;

struct ServicePageEntries {
    QString makerId;        // "ManufactureID"
    QString makerSerial;    // "ManufactureSerial"
    int model = 3;          // "ManufactureModel": 0..4, else "04"
    QString voltage;        // "UCalibrWrite"
    QString displaySerial;  // "ServicecenterSerial"
    int battery = 0;        // "ServicecenterBattery": 0..2
    int variant = 0;        // "ServicecenterVedType": 0..2
};

ServicePageEntries LoadServicePageEntries(SettingsStore& store);
// The maker's part (id, serial, model, voltage).
bool StoreMakerEntries(SettingsStore& store, const ServicePageEntries& entries);
// The service centre's part (serial, battery, variant).
bool StoreServiceCentreEntries(SettingsStore& store, const ServicePageEntries& entries);

// The stand's COM number, 1 by default.
int LoadStandPort(SettingsStore& store);
bool StoreStandPort(SettingsStore& store, int portNumber);
