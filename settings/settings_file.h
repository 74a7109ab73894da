#pragma once
// A device's settings as text: a header, then a section per page named as its menu item, a line
// per variable ("name = value", table cells "name[index] = value"), and a comment line for each
// variable the device did not answer. Sections and lines keep the order of the menus and tables.
//
//   # kw9100-settings export
//   # address: 10.0.0.5
//   # model: KW-9100 Wireless Access Point
//   # firmware: v2.10
//   # time: 2026-12-11T14:00:00Z
//
//   [Advanced \ Performance]
//   # page: TFM_Performace
//   adBeaconInterval = 100
//   adRateTableRate[3] = 11
//   # not answered: adXR (No such name)
#include <exception>
#include <QString>
#include <vector>

namespace settings {

// What secret values are written as.
inline constexpr char kSecret[] = "<secret>";

struct Line {
    QString name;    // variable name, "[index]" after it for table cells and repeated names
    QString value;   // text form with option labels; kSecret for secrets
    QString failure; // not empty: the device did not answer; the library's text
    bool answered() const { return failure.isEmpty(); }
};

struct Section {
    QString path; // "Advanced \ Performance"
    QString page; // the page class read for it
    std::vector<Line> lines;
};

struct Export {
    QString address;
    QString model;
    QString firmware;
    QString time;
    std::vector<Section> sections;
};

// A failure that ends the program with its text.
class Failure : public std::exception {
public:
    explicit Failure(QString text) : text_(std::move(text)), what_(text_.toUtf8()) {}
    const QString& text() const noexcept { return text_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString text_;
    QByteArray what_;
};

// A text that is not an export (the file's line number and what is wrong), a file that cannot
// be read or written.
class FormatError : public Failure {
public:
    using Failure::Failure;
};

QString toText(const Export& data);
// Raises FormatError.
Export fromText(const QString& text);

} // namespace settings
