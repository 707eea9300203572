#pragma once
// Codes whose meaning the program fixes in the central database.

namespace Role {
/// A pupil, a participant of events.
inline constexpr int Pupil = 4;
/// The administrator of regional events: the only role that can log in.
inline constexpr int RegionalAdmin = 54280;
/// The row of this workstation in `vzl_updatearm`.
inline constexpr int Workstation = 7;
} // namespace Role

namespace Stage {
/// The regional stage (`levelolimpID`).
inline constexpr int Regional = 3;
} // namespace Stage

namespace Status {
inline constexpr int Candidate = 1;      ///< "Кандидат в участники"
inline constexpr int Participant = 4;    ///< "Участник регионального этапа"
inline constexpr int Winner = 7;         ///< "Победитель регионального этапа"
inline constexpr int Other8 = 8;         ///< stored name only
inline constexpr int Other9 = 9;         ///< stored name only
inline constexpr int PrizeWinner = 10;   ///< "Призер регионального этапа"
inline constexpr int NotArrived = 15;    ///< "Не прибыл на региональный этап"
} // namespace Status

namespace Permission {
/// `permission` and `permissionDiplom`: 1 opens, anything else closes.
inline constexpr int Open = 1;
/// A row of `vzl_permissionuser` with 0 closes its menu entry.
inline constexpr int MenuClosed = 0;
} // namespace Permission

namespace Hotel {
inline constexpr int No = 0;  ///< "Нет"
inline constexpr int Yes = 1; ///< "Да"
} // namespace Hotel

namespace Application {
/// The coordinator id written into every new application row.
inline constexpr int CoordinatorID = 318047;
/// The accompanying person of a new application row.
inline constexpr int DefaultMaintainerID = 146;
} // namespace Application
