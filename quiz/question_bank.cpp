// Own
#include "question_bank.h"

namespace quiz {
namespace {

constexpr std::array<BankEntry, kBankSize> kBank{{
    {" RAM stands for ..", {"1. Random Access Memory", "2. Rapid Access Memory", "3. Repairable Access Memory", "4. Recoverable Access Memory"}, 1},
    {" Acrobat Reader shows ..... pages.", {"1. PDF", "2. PTF", "3. ABR", "4. ABTR"}, 1},
    {" Windows is ....", {"1. Operating System", "2. Application", "3. SoftWare", "4. Program"}, 1},
    {" Floppy Disk is made up of ...... which is used to store data.", {"1. Magnetised Material", "2. Floppy Board", "3. Digital Material", "4. Special CardBoard"}, 1},
    {" StarOffice Office Suit has been launched by ....", {"1. Sun", "2. Microsoft", "3. Satyam", "4. Wipro"}, 1},
    {" LAN stands for ....", {"1. Local Area Network", "2. Logical Area Neware", "3. Linked Area Network", "4. Linear Area Network"}, 1},
    {" LSA stands for ....", {"1. Local Security Authority", "2. Logging Security Authority", "3. Linked Server's Administrator", "4. Local Server Authority"}, 1},
    {" An instruction is ..", {"1. A Command", "2. An Object", "3. An Procedure", "4. A Program"}, 1},
    {" Find an ODD item in given group?", {"1. Ingress", "2. Linux", "3. Windows", "4. Unix"}, 1},
    {" Which of following is NOT a Programming Language?", {"1. Windows", "2. C", "3. C++", "4. JAVA"}, 1},
    {" ISDN stands for .... ", {"1. Integrated Services Digital Network", "2. Integrated Socket Digital Network", "3. Integrated Server Digital Network", "4. Integrated Service Digital Network"}, 1},
    {" A database design will be based on ..... diagram.", {"1. Entity Relationship", "2. Entity Recordset", "3. Element Relationship", "4. Flow Chart"}, 1},
    {" Attributes are one of the elements of .... diagram.", {"1. Flow Chart", "2. Object Relationship", "3. Entity Relationship", "4. Structure Chart"}, 3},
    {" Which one of the following is a RDBMS?", {"1. BASIC", "2. Ongress", "3. Sybase", "4. JAVA"}, 3},
    {" ..... feature of Linux is not available in MS-DOS.", {"1. Single User", "2. File Hiding", "3. Multi-tasking", "4. File Reading"}, 3},
    {" ..... is used to establish a connection between a pair of logically related entities.", {"1. Reseting", "2. Shadowing", "3. Relationship", "4. Attributing"}, 3},
    {" Which one of the following Programming Language was developed by Quendrik at AT and T Bell Labs?", {"1. BASIC", "2. C", "3. C++", "4. JAVA"}, 3},
    {" C++ is the Programming Language which was initially named as .....", {"1. C with Structures", "2. C Extended", "3. C with Classes", "4. Exploring C"}, 3},
    {" When a function is defined inside a class, it is treated as ...... function.", {"1. Outline", "2. Input", "3. Inline", "4. Inner"}, 3},
    {" ........ is one of the SQL Server database objects.", {"1. Operators", "2. Trends", "3. Views", "4. Systems"}, 3},
    {" Which one of the following databases is used by the SQL Server to manage itself?", {"1. Tempdb", "2. Sybsystemprocs", "3. Master", "4. model"}, 3},
    {" A Client submits SQL requests to the server via a .....", {"1. NetWare", "2. Linkers", "3. Network", "4. Cables"}, 3},
    {" Which one of the following is can be used to develope Web Pages ....", {"1. C++", "2. PageMaker", "3. HTML", "4. Web-Modeler"}, 3},
    {" In Excel a formula is always starts with .... sign.", {"1. +", "2. $", "3. =", "4. &"}, 3},
    {" Which one of the following are special kind of stored procedures that are fired automatically when an insert, delete or an update takes place in a specied table?", {"1. Strings", "2. T-Procedures", "3. Triggers", "4. Defaults"}, 3},
    {" We can NOT create a database in ......", {"1. Sybase", "2. Visual FoxPro", "3. MS-Access", "4. Powerbase"}, 4},
    {" SDLC refers to ....", {"1. Sofware Design Life Cycle", "2. Sofware Demand Life Cycle", "3. Sofware Derived Life Cycle", "4. System Development Life Cycle"}, 4},
    {" Table consist of ....... ", {"1. Rows and Records", "2. Colums and Fields", "3. Columns and Lines", "4. Rows and Columns"}, 4},
    {" Which one of the following storage measurements is NOT in exists .....", {"1. TB", "2. MB", "3. KB", "4. ZB"}, 4},
    {" Inheritence means nothing but the ......", {"1. Hiding Non-essential details", "2. Binding Variable", "3. Hiding Codes", "4. Reusing of codes"}, 4},
    {" which facility of a word processor is used to merge Document File and Data Source file?", {"1. Main Merge", "2. Document Exchange", "3. Data Combination", "4. Mail Merge"}, 4},
    {" ROM is a .......", {"1. Volatile", "2. Temporary", "3. Corrupted", "4. Non - Volatile"}, 4},
    {" Which of the following is NOT a type of Printer .....", {"1. Drum", "2. Impact", "3. Laser", "4. Stick"}, 4},
    {" Which of the following is an External command in MS-DOS .....", {"1. Time", "2. Copy", "3. Type", "4. Tree"}, 4},
    {" Monitor is also known as ..... ", {"1. Input Display Unit", "2. Screen Display Unit", "3. Key Display Unit", "4. Visual Display Unit"}, 4},
    {" User can expand the capabilities of their system by using .....", {"1. PROM boards", "2. open cards", "3. EEPROM cards", "4. expansion cards"}, 4},
    {" An organised collection of data is ....", {"1. Record", "2. File", "3. Character", "4. Database"}, 4},
}};

constexpr std::array<std::string_view, kPraiseCount> kPraise{
    "Sahi Jawab! Aap bahut Umda Khel Rahe Hai!",
    "Sahi Jawab! Lagta hai aap 15 prashno ka uttar de payenge aur Tarvelo Banenge!",
    "Sahi Jawab! and good reply!",
    "Aap ka jawab bilkul sahi hai!",
    "Aap ka jawab bilkul sahi hai!",
};

}  // namespace

const BankEntry &bankEntry(int index) { return kBank.at(static_cast<std::size_t>(index)); }

const std::array<BankEntry, kBankSize> &questionBank() { return kBank; }

const std::array<std::string_view, kPraiseCount> &praiseMessages() { return kPraise; }

int correctOptionFor(int index)
{
    if (index >= 0 && index <= 11)
        return 1;
    if (index >= 12 && index <= 24)
        return 3;
    if (index >= 25 && index <= 36)
        return 4;
    return 0;
}

std::string_view trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace quiz
