// SPDX-License-Identifier: GPL-3.0-or-later
// Channel plans read into the image and written from it: each mapping of the two formats (both ways where the
// writer writes that form) and each refusal. Whole setups go out and back in through the vkt commands' test.

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "core/ChannelPlan.h"
#include "core/Csv.h"
#include "core/MemoryMap.h"
#include "tests/core/TestImage.h"

using namespace VKTCore;

namespace {

const std::string IncidentHeader =
    "Zone/Grp,Ch #,Function,Channel Name/Trunked Radio System Talkgroup,Assignment,RX Freq N or W,RX Tone/NAC,TX Freq N or W,"
    "TX Tone/NAC,\"Mode A, D, or M\",Remarks";
const std::string ListHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,"
    "Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

// A plan as it arrives: a byte-order mark and Windows line ends, and for an incident plan the form's headings,
// an empty row and its closing lines around the table. Its first row is on line 7 (incident plan) or 2.
std::string PlanFile(PlanFormat format, const std::vector<std::string>& rows, const std::string& header = "") {
    std::string text = "\xEF\xBB\xBF";
    const bool incident = format == PlanFormat::IncidentPlan;
    if (incident)
        text += "INCIDENT RADIO COMMUNICATIONS PLAN (ICS 205),,,\r\n1. Incident Name:,Lakeside Fire,2. Date/Time Prepared:,06/12\r\n\r\n"
                "3. Operational Period:,0600-1800,,\r\n4. Basic Radio Channel Use,,,\r\n";
    text += (header.empty() ? incident ? IncidentHeader : ListHeader : header) + "\r\n";
    for (const std::string& row : rows) text += row + "\r\n";
    if (incident) text += ",,,,,,,,,,\r\n5. Special Instructions:,,,\r\n\"6. Prepared by (Communications Unit Leader):\",J. Doe,,\r\n";
    return text;
}

// A channel as the grid shows it: frequencies, guards, label, then the narrow, scan and low power flags.
using Shown = std::array<std::string, 8>;
Shown ShownChannel(const Image& im, int g, int c) {
    const int slot = ChannelSlotAddress(g, c), block = GroupBase(g);
    const auto flag = [&](const Field& f) { return std::to_string(ReadField(im, block, f[c])); };
    std::string label = FieldText(im, LabelSlotAddress(g, c), LabelSlot::Label);
    label.erase(0, label.find_first_not_of(' '));
    return {FieldText(im, slot, ChannelSlot::RxFreq), FieldText(im, slot, ChannelSlot::TxFreq), FieldText(im, slot, ChannelSlot::RxCG),
            FieldText(im, slot, ChannelSlot::TxCG), label, flag(GroupBlock::Narrow), flag(GroupBlock::Scan), flag(GroupBlock::LowPower)};
}

struct Mapping {
    PlanFormat format;
    const char* row;
    int group, channel;  // as the technician counts them
    Shown shown;         // scan and low power "" where the format leaves them
    bool written;        // the writer writes this very row
};

constexpr PlanFormat Incident = PlanFormat::IncidentPlan, List = PlanFormat::ChannelList;

const Mapping Mappings[] = {
    {Incident, "1,1,,DISP,,154.0000N,CSQ,154.6000N,67.0,A,", 1, 1, {"154.00000", "154.60000", "000.0", "067.0", "DISP", "1"}, true},
    {Incident, "2,16,,TAC 2,,154.0500W,D245N,154.0500W,D245I,A,", 2, 16, {"154.05000", "154.05000", "D245", "D245-", "TAC 2", "0"}, true},
    {Incident, "1,1,,,,155.34375N,100.0,,CSQ,A,", 1, 1, {"155.34375", "000.00", "100.0", "000.0", "", "1"}, true},
    {Incident, "1,1,,eng 12,,155.3400 n,,155.3400,023I,,", 1, 1, {"155.34000", "155.34000", "000.0", "D023-", "ENG 12", "1"}, false},
    {Incident, "1,1,,,,155.3400,D023,155.3400W,023N,a,", 1, 1, {"155.34000", "155.34000", "D023", "D023", "", "0"}, false},
    {Incident, "1,1,,,,155.3400,D023-,155.3400W,100,a,", 1, 1, {"155.34000", "155.34000", "D023-", "100.0", "", "0"}, false},
    {List, "1,DISP,154.000000,+,0.600000,Tone,67.0,88.5,023,NN,023,Tone->Tone,NFM,6.25,S,High,,,,,", 1, 1,
     {"154.00000", "154.60000", "000.0", "067.0", "DISP", "1", "0", "0"}, true},
    {List, "2,TAC 1,150.012500,,0.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,Low,,,,,", 1, 2,
     {"150.01250", "150.01250", "088.5", "088.5", "TAC 1", "0", "1", "1"}, true},
    {List, "17,,154.050000,-,5.000000,DTCS,88.5,88.5,245,RN,245,Tone->Tone,FM,6.25,,High,,,,,", 2, 1,
     {"154.05000", "149.05000", "D245", "D245-", "", "0", "1", "0"}, true},
    {List, "3,,155.340000,off,0.000000,Cross,88.5,100.0,023,NN,023,->Tone,FM,2.50,,High,,,,,", 1, 3,
     {"155.34000", "000.00", "100.0", "000.0", "", "0", "1", "0"}, true},
    {List, "5,,150.000000,,0.000000,Cross,100.0,88.5,023,NR,754,Tone->DTCS,FM,6.25,,High,,,,,", 1, 5,
     {"150.00000", "150.00000", "D754-", "100.0", "", "0", "1", "0"}, true},
    {List, "6,,150.000000,,0.000000,Cross,88.5,88.5,023,NN,754,DTCS->DTCS,FM,6.25,,High,,,,,", 1, 6,
     {"150.00000", "150.00000", "D754", "D023", "", "0", "1", "0"}, true},
    {List, "7,,150.000000,,0.000000,Cross,88.5,88.5,023,RN,023,DTCS->,FM,6.25,,High,,,,,", 1, 7,
     {"150.00000", "150.00000", "000.0", "D023-", "", "0", "1", "0"}, true},
    {List, "8,,150.000000,,0.000000,Cross,100.0,123.0,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,", 1, 8,
     {"150.00000", "150.00000", "123.0", "100.0", "", "0", "1", "0"}, true},
    {List, "9,,150.000000,,0.000000,Cross,88.5,88.5,023,NR,172,->DTCS,FM,6.25,,High,,,,,", 1, 9,
     {"150.00000", "150.00000", "D172-", "000.0", "", "0", "1", "0"}, true},
    {List, "10,,150.000000,,0.000000,Cross,88.5,100.0,532,NN,023,DTCS->Tone,FM,6.25,,High,,,,,", 1, 10,
     {"150.00000", "150.00000", "100.0", "D532", "", "0", "1", "0"}, true},
    {List, "11,,150.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,S,High,,,,,", 1, 11,
     {"150.00000", "150.00000", "000.0", "000.0", "", "0", "0", "0"}, true},
    {List, "4,,155.340000,split,156.000000,Cross,100.0,88.5,532,NR,023,DTCS->Tone,nfm,5.00,P,,,,,,", 1, 4,
     {"155.34000", "156.00000", "088.5", "D532", "", "1", "1", ""}, false},
    {List, "12,,150.000000,,,,,,,,,,FM,,,1.0W,,,,,", 1, 12, {"150.00000", "150.00000", "000.0", "000.0", "", "0", "1", "1"}, false},
    {List, "4,,155.340000,,,TSQL,67.0,123.0,,,,,FM,,,,,,,,", 1, 4, {"155.34000", "155.34000", "123.0", "123.0", "", "0", "1", ""}, false},
};

TEST(ChannelPlan, EachMappingReadsIntoTheImageAndWritesBack) {
    const Image fleet = SetupFile("fleet.vkt");
    for (const Mapping& m : Mappings) {
        ChannelPlan plan;
        std::string error;
        ASSERT_TRUE(ReadPlan(PlanFile(m.format, {m.row}), {}, plan, error)) << m.row << ": " << error;
        EXPECT_EQ(plan.format, m.format) << m.row;
        Image image = fleet;
        ApplyPlan(plan, image);
        Shown expected = m.shown;
        const Shown before = ShownChannel(fleet, m.group - 1, m.channel - 1);
        for (size_t k : {6, 7}) if (expected[k].empty()) expected[k] = before[k];
        EXPECT_EQ(ShownChannel(image, m.group - 1, m.channel - 1), expected) << m.row;

        if (!m.written) continue;
        Image alone{};
        ApplyPlan(plan, alone);
        const std::string head = m.format == Incident ? "INCIDENT RADIO COMMUNICATIONS PLAN (ICS 205)\r\nBasic Radio Channel Use\r\n" + IncidentHeader
                                                      : ListHeader;
        EXPECT_EQ(WritePlan(alone, m.format).text, head + "\r\n" + m.row + "\r\n") << m.row;
    }
}

struct Refusal {
    PlanFormat format;
    std::vector<std::string> rows;
    const char* error;
    PlanOptions options = {};
    std::string file = {};  // the whole file, in place of the rows in a plan's form
};

const std::string Good205 = "1,1,,,,154.0000N,,,,A,";
std::string Row205(const std::string& name, const std::string& rx, const std::string& rxTone, const std::string& tx, const std::string& mode) {
    return "1,1,,," + name + "," + rx + "," + rxTone + "," + tx + ",," + mode + ",";
}

const Refusal Refusals[] = {
    {Incident, {"16,1,,,,154.0000N,,,,A,"}, "line 7, column Zone/Grp: \"16\" is not a group number 1 ... 15"},
    {Incident, {"1,17,,,,154.0000N,,,,A,"}, "line 7, column Ch #: \"17\" is not a channel number 1 ... 16"},
    {Incident, {"1,1,,ENGINE 12 TAC,,154.0000N,,,,A,"},
     "line 7, column Channel Name/Trunked Radio System Talkgroup: \"ENGINE 12 TAC\" has more than 8 characters (or choose to cut names to 8)"},
    {Incident, {Row205("", "450.0000N", "", "", "A")}, "line 7, column RX Freq N or W: \"450.0000N\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    {Incident, {Row205("", "154.0000N", "", "154.0010N", "A")}, "line 7, column TX Freq N or W: \"154.0010N\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    {Incident, {Row205("", "154.0000N", "", "154.0000W", "A")}, "line 7, column TX Freq N or W: \"154.0000W\" is not of the RX Freq's width (N or W)"},
    {Incident, {Row205("", "154.0000N", "1000.0", "", "A")}, "line 7, column RX Tone/NAC: \"1000.0\" is not a tone or code: a tone like 100.0, CSQ or blank for none, or a code like D023N or 023I"},
    {Incident, {Row205("", "154.0000N", "D089N", "", "A")}, "line 7, column RX Tone/NAC: \"D089N\" is not a tone or code: a tone like 100.0, CSQ or blank for none, or a code like D023N or 023I"},
    {Incident, {Row205("", "154.0000N", "023", "", "A")}, "line 7, column RX Tone/NAC: \"023\" could be a tone or a code: write a code as D023N or 023I, a tone as 100.0"},
    {Incident, {Row205("", "154.0000N", "$293", "", "A")}, "line 7, column RX Tone/NAC: \"$293\" is a NAC (a P25 code): this radio is analog"},
    {Incident, {Row205("", "154.0000N", "F7E", "", "A")}, "line 7, column RX Tone/NAC: \"F7E\" is a NAC (a P25 code): this radio is analog"},
    {Incident, {Row205("", "154.0000N", "", "", "D")}, "line 7, column Mode A, D, or M: \"D\" is digital or mixed mode: this radio is analog (A)"},
    {Incident, {Row205("", "154.0000N", "", "", "M")}, "line 7, column Mode A, D, or M: \"M\" is digital or mixed mode: this radio is analog (A)"},
    {Incident, {Row205("", "154.0000N", "", "", "X")}, "line 7, column Mode A, D, or M: \"X\" is not a mode: A (analog), D or M"},
    {Incident, {Good205, Good205}, "line 8: group 1 channel 1 appears a second time (first on line 7)"},
    {Incident, {"TAC,1,,,,154.0000N,,,,A,"}, "line 7, column Zone/Grp: \"TAC\" is a zone's name, not a group number 1 ... 15: number the zones as the radio's groups"},
    {Incident, {",1,,,,154.0000N,,,,A,"}, "line 7, column Zone/Grp: \"\" is not a group number 1 ... 15"},
    {List, {"1,,446.006250,,,,,,,,,,FM"}, "line 2, column Frequency: \"446.006250\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    // A frequency is megahertz as written: a shifted column or a dropped digit is no frequency.
    {List, {"1,,15.4525,,,,,,,,,,FM"}, "line 2, column Frequency: \"15.4525\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    {List, {"1,,1465,,,,,,,,,,FM"}, "line 2, column Frequency: \"1465\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    {List, {"1,,146.52,split,15.4525,,,,,,,,FM"}, "line 2, column Offset: \"15.4525\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    {Incident, {Row205("", "17", "", "", "A")}, "line 7, column RX Freq N or W: \"17\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    {List, {"17,,150.000000,,,,,,,,,,FM"}, "line 2, column Location: \"17\" goes past group 15 (16 locations a group from group 15 on)", {.firstGroup = 14}},
    {List, {"x,,150.000000,,,,,,,,,,FM"}, "line 2, column Location: \"x\" is not a location number"},
    {List, {"1,,150.000000,x,,,,,,,,,FM"}, "line 2, column Duplex: \"x\" is not a duplex: blank, +, -, split or off"},
    {List, {"1,,150.000000,+,0.6 MHz,,,,,,,,FM"}, "line 2, column Offset: \"0.6 MHz\" is not an offset in MHz, like 0.600000"},
    {List, {"1,,173.000000,+,5.000000,,,,,,,,FM"}, "line 2, column Offset: \"5.000000\" puts transmit on no frequency: a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    {List, {"1,,150.000000,split,450.000000,,,,,,,,FM"}, "line 2, column Offset: \"450.000000\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz"},
    {List, {"1,,150.000000,,,TSQL-R,,88.5,,,,,FM"}, "line 2, column Tone: \"TSQL-R\" is a reverse squelch, which this radio does not have"},
    {List, {"1,,150.000000,,,DTCS-R,,,023,NN,,,FM"}, "line 2, column Tone: \"DTCS-R\" is a reverse squelch, which this radio does not have"},
    {List, {"1,,150.000000,,,DCS,,,,,,,FM"}, "line 2, column Tone: \"DCS\" is not a tone mode: blank, Tone, TSQL, DTCS or Cross"},
    {List, {"1,,150.000000,,,Tone,1000.0,,,,,,FM"}, "line 2, column rToneFreq: \"1000.0\" is not a tone, like 88.5"},
    {List, {"1,,150.000000,,,TSQL,,,,,,,FM"}, "line 2, column cToneFreq: \"\" is not a tone, like 88.5"},
    {List, {"1,,150.000000,,,DTCS,,,089,NN,,,FM"}, "line 2, column DtcsCode: \"089\" is not a digital code: three octal digits, like 023"},
    {List, {"1,,150.000000,,,DTCS,,,023,NI,,,FM"}, "line 2, column DtcsPolarity: \"NI\" is not a polarity: NN, NR, RN or RR"},
    {List, {"1,,150.000000,,,Cross,,,023,NN,023,DTCS->DCS,FM"}, "line 2, column CrossMode: \"DTCS->DCS\" is not a cross mode, like Tone->DTCS"},
    {List, {"1,,150.000000,,,Cross,,,023,NN,0238,DTCS->DTCS,FM"}, "line 2, column RxDtcsCode: \"0238\" is not a digital code: three octal digits, like 023"},
    {List, {"1,,150.000000,,,,,,,,,,AM"}, "line 2, column Mode: \"AM\" is not FM or NFM: this radio is analog FM"},
    {List, {"1,,150.000000,,,,,,,,,,FM,,X"}, "line 2, column Skip: \"X\" is not a skip: blank, S or P"},
    {List, {"1,,150.000000,,,,,,,,,,FM,,,Turbo"}, "line 2, column Power: \"Turbo\" is not a power: Low, High or watts, like 1.0W"},
    {List, {"1,ENGINE 12 TAC,150.000000,,,,,,,,,,FM"}, "line 2, column Name: \"ENGINE 12 TAC\" has more than 8 characters (or choose to cut names to 8)"},
    {List, {"1,,150.000000", "1,,151.000000"}, "line 3: group 1 channel 1 appears a second time (first on line 2)"},
    {List, {}, "the plan names no channel"},
    // Whole files that are no plan.
    {List, {}, "no line names the columns of a plan: an incident plan's \"Ch #\" and \"RX Freq\", or a channel list's \"Location\" and \"Frequency\"",
     {}, "Name,Freq\r\nA,150\r\n"},
    {List, {}, "line 1: column \"frequency\" appears twice", {}, "Location,Frequency,frequency\r\n1,150,150\r\n"},
    {List, {}, "line 2: a NUL byte: this is no text file (a plan is CSV text)", {}, std::string("Location,Frequency\r\n1,15\0" "0\r\n", 27)},
    {List, {}, "line 3: byte 0x81, neither UTF-8 nor Windows-1252 text: this is no text file (a plan is CSV text)", {}, "Location,Name,Frequency\r\n1,\xe9t\xe9,150.0\r\n2,\x81,150.0\r\n"},
    {List, {}, "line 2: the row needs the column CrossMode, which the file does not have", {}, "Location,Frequency,Tone\r\n1,150.0,Cross\r\n"},
    {Incident, {}, "line 3, column RX Freq N or W: \"17\" is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz", {}, "Ch #,\"RX Freq\r\nN or W\"\r\n1,17\r\n"},
    {Incident, {}, "line 3: channel 17 goes past group 15 (16 channels a group from group 15 on)", {.firstGroup = 14}, "Ch #,RX Freq\r\n16,150.0\r\n17,150.0\r\n"},
    {List, {}, "line 2: a quote is never closed", {}, "Location,Frequency\r\n1,\"150\r\n"},
};

TEST(ChannelPlan, EachRefusalNamesLineColumnAndValueAndChangesNothing) {
    for (const Refusal& r : Refusals) {
        ChannelPlan plan;
        std::string error;
        EXPECT_FALSE(ReadPlan(r.file.empty() ? PlanFile(r.format, r.rows) : r.file, r.options, plan, error)) << r.error;
        EXPECT_EQ(error, r.error);
    }
}

// Each plan of tests/data/plans, as spreadsheets and other programs save them, read into the fleet setup
// and compared channel by channel with expected.csv (a blank: the setup's own value kept); it sets no other.
TEST(ChannelPlan, EachSpreadsheetShapeReadsChannelByChannel) {
    const auto text = [](const std::string& name) {
        std::ifstream in(std::string(VKT_TEST_DATA_DIR) + "/plans/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::vector<vkt::CsvRecord> rows;
    std::string error;
    ASSERT_TRUE(vkt::ParseCsv(text("expected.csv"), rows, error)) << error;
    std::map<std::string, std::vector<vkt::CsvRecord>> byFile;
    for (size_t r = 1; r < rows.size(); ++r) byFile[rows[r].fields[0]].push_back(rows[r]);
    const Image fleet = SetupFile("fleet.vkt");
    for (const auto& [file, channels] : byFile) {
        ChannelPlan plan, expected;
        ASSERT_TRUE(ReadPlan(text(file), {}, plan, error)) << file << ": " << error;
        Image image = fleet;
        ApplyPlan(plan, image);
        for (const vkt::CsvRecord& row : channels) {
            const int g = std::stoi(row.fields[1]) - 1, c = std::stoi(row.fields[2]) - 1;
            expected.channels.emplace_back().group = g;
            expected.channels.back().channel = c;
            Shown want = ShownChannel(fleet, g, c);
            for (size_t k = 0; k < want.size(); ++k) if (k == 4 || !row.fields[k + 3].empty()) want[k] = row.fields[k + 3];
            EXPECT_EQ(ShownChannel(image, g, c), want) << file << ", expected.csv line " << row.line;
        }
        EXPECT_EQ(PlanChanges(plan), PlanChanges(expected)) << file;
    }
}

TEST(ChannelPlan, ListLocationsFillGroupsFromTheChosenOneAndCutNamesAreListed) {
    ChannelPlan plan;
    std::string error;
    const std::string file = "location,name,frequency,power\r\n0,Base,150.0,5.0W\r\n1,ENGINE 12 TAC,150.0,4.0W\r\n16,,150.0,\r\n";
    ASSERT_TRUE(ReadPlan(file, {.firstGroup = 2, .cutNames = true}, plan, error)) << error;
    ASSERT_EQ(plan.channels.size(), 3u);
    const std::pair<int, int> places[] = {{2, 0}, {2, 1}, {3, 0}};
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(std::pair(plan.channels[k].group, plan.channels[k].channel), places[k]) << k;
    EXPECT_EQ(plan.channels[0].lowPower, false);
    EXPECT_EQ(plan.channels[1].lowPower, true);
    EXPECT_EQ(plan.channels[2].lowPower, std::nullopt);
    EXPECT_EQ(plan.renamed, (std::vector<std::string>{"line 2: \"Base\" becomes \"BASE\"", "line 3: \"ENGINE 12 TAC\" cut to \"ENGINE 1\""}));
    EXPECT_EQ(DecodeLabel(plan.channels[1].label.data()), "ENGINE 1");
    EXPECT_EQ(PlanChanges(plan), (std::vector<std::string>{"group 3: channels 1-2", "group 4: channel 1"}));

    // An incident plan without a zone column is the chosen group; its short column names.
    ASSERT_TRUE(ReadPlan("rx freq, Ch#,NAME\r\n150.0,16,A\r\n150.0,1,\r\n150.0,3,\r\n", {.firstGroup = 4}, plan, error)) << error;
    EXPECT_EQ(plan.format, Incident);
    EXPECT_EQ(PlanChanges(plan), std::vector<std::string>{"group 5: channels 1, 3, 16"});
}

} // namespace
