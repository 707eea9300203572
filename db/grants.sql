-- The privileges of the workstation's database account: exactly what its
-- statements use, on the tables of the database `olimp`, nothing global and no
-- change of any table's structure. They are held by the role talvira_program;
-- an account gets them with (for each account of the workstation):
--
--   GRANT talvira_program TO 'olimp'@'%';
--   SET DEFAULT ROLE talvira_program FOR 'olimp'@'%';
--
-- Run this file as the server's administrator once the tables exist:
--   mariadb olimp < db/grants.sql
-- For a database of another name, replace `olimp`. throughout.
-- When a statement of the program reads or writes something new, its line is
-- added here in the same change.

CREATE ROLE IF NOT EXISTS talvira_program;

-- Read: login, menu permissions, announcement, update check, personal data,
-- the lists of every window, the exports, ratings, diplomas and journal.
GRANT SELECT ON `olimp`.`vzl_users` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_users4add` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_users80add` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_areas` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_schools` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_periods` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_educationallist_reg` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_userseducation` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_maintainer` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_statusparticipant` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_permissionuser` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_updatearm` TO talvira_program;
GRANT SELECT ON `olimp`.`vzl_advertisement1` TO talvira_program;

-- Pupils' regional choices: the assignment window replaces a pupil's choices.
GRANT SELECT, INSERT, DELETE ON `olimp`.`vzl_userseducation_reg` TO talvira_program;

-- The regional applications: list formation adds and removes rows; details,
-- results and statuses are written column by column.
GRANT SELECT, INSERT, DELETE ON `olimp`.`vzl_application_reg` TO talvira_program;
GRANT UPDATE (`actionareaID`, `hotel`, `dateIn`, `dateOut`, `maintainerID`, `statusparticipantID`, `result`)
    ON `olimp`.`vzl_application_reg` TO talvira_program;

-- Passing scores of an event (passing-score window and rating window).
GRANT UPDATE (`prizeWinnerMin`, `prizeWinnerMax`, `Winner`) ON `olimp`.`vzl_educationallist_reg` TO talvira_program;

-- The administrator's own row: date of the last entry, password, personal data.
GRANT UPDATE (`dateLastEnter`, `password`, `surname`, `name`, `patronymic`, `phone`, `areaID`)
    ON `olimp`.`vzl_users` TO talvira_program;
GRANT UPDATE (`placeWork`, `postWork`) ON `olimp`.`vzl_users80add` TO talvira_program;
