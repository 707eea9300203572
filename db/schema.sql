-- Tables of the central database `olimp` that the workstation reads and writes.
-- Loaded into whatever database is current: no CREATE DATABASE and no USE here.
-- Names are spelled as the web platform has them (`educationlListID_reg`, `adress`).
-- Scores are DOUBLE: the status computation compares `result` with the typed
-- passing score, and a single-precision column would miss exact matches (45.3).

SET NAMES utf8mb4;

CREATE TABLE IF NOT EXISTS `vzl_areas` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `name` VARCHAR(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`id`),
  KEY `ix_areas_name` (`name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS `vzl_schools` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `name` VARCHAR(255) NOT NULL DEFAULT '',
  `fullname` VARCHAR(1024) NOT NULL DEFAULT '',
  `adress` VARCHAR(512) NULL DEFAULT NULL,
  `areaID` INT NULL DEFAULT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_schools_area` (`areaID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS `vzl_users` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `surname` VARCHAR(64) NOT NULL DEFAULT '',
  `name` VARCHAR(64) NOT NULL DEFAULT '',
  `patronymic` VARCHAR(64) NOT NULL DEFAULT '',
  `email` VARCHAR(128) NOT NULL DEFAULT '',
  `password` VARCHAR(256) NOT NULL DEFAULT '',
  `phone` VARCHAR(32) NOT NULL DEFAULT '',
  `areaID` INT NULL DEFAULT NULL,
  `schoolID` INT NULL DEFAULT NULL,
  `roleID` INT NOT NULL DEFAULT 4,
  `isActive` TINYINT(1) NOT NULL DEFAULT 1,
  `dateLastEnter` DATE NULL DEFAULT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_users_email` (`email`),
  KEY `ix_users_role_surname` (`roleID`, `surname`),
  KEY `ix_users_school` (`schoolID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS `vzl_users4add` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `usersID` INT NOT NULL,
  `classStudy` INT NULL DEFAULT NULL,
  `gender` INT NULL DEFAULT NULL,
  `ovz` INT NULL DEFAULT NULL,
  `birthday` DATE NULL DEFAULT NULL,
  `citizenship` VARCHAR(64) NULL DEFAULT NULL,
  PRIMARY KEY (`id`),
  UNIQUE KEY `ux_users4add_user` (`usersID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS `vzl_users80add` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `user_id` INT NOT NULL,
  `placeWork` VARCHAR(255) NOT NULL DEFAULT '',
  `postWork` VARCHAR(128) NOT NULL DEFAULT '',
  PRIMARY KEY (`id`),
  UNIQUE KEY `ux_users80add_user` (`user_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS `vzl_periods` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `name` VARCHAR(64) NOT NULL DEFAULT '',
  `active` TINYINT(1) NOT NULL DEFAULT 0,
  `dateEnd` DATE NULL DEFAULT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_periods_active` (`active`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS `vzl_educationallist_reg` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `nameEdu` VARCHAR(512) NOT NULL DEFAULT '',
  `isActive` TINYINT(1) NOT NULL DEFAULT 1,
  `idPeriod` INT NULL DEFAULT NULL,
  `dateStart` DATE NULL DEFAULT NULL,
  `dateEnd` DATE NULL DEFAULT NULL,
  `actionAreaID` INT NULL DEFAULT NULL,
  `prizeWinnerMin` DOUBLE NULL DEFAULT 0,
  `prizeWinnerMax` DOUBLE NULL DEFAULT 0,
  `Winner` DOUBLE NULL DEFAULT 0,
  `permission` INT NULL DEFAULT 0,
  `permissionDiplom` INT NULL DEFAULT 0,
  `SubjectsID` INT NULL DEFAULT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_edureg_period` (`idPeriod`, `isActive`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Which administrator is responsible for which event in which school year.
CREATE TABLE IF NOT EXISTS `vzl_userseducation` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `usersID` INT NOT NULL,
  `educationListID` INT NOT NULL,
  `periodsID` INT NOT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_usersedu_user_period` (`usersID`, `periodsID`),
  KEY `ix_usersedu_event` (`educationListID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- A pupil's choice of regional events. No unique key: the platform does not
-- prevent a doubled choice, and the workstation has to cope with one.
CREATE TABLE IF NOT EXISTS `vzl_userseducation_reg` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `usersID` INT NOT NULL,
  `educationListID` INT NOT NULL,
  `periodsID` INT NOT NULL,
  `classPart` INT NULL DEFAULT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_userseducreg_user_period` (`usersID`, `periodsID`),
  KEY `ix_userseducreg_event_period` (`educationListID`, `periodsID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS `vzl_maintainer` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `surname` VARCHAR(64) NOT NULL DEFAULT '',
  `name` VARCHAR(64) NOT NULL DEFAULT '',
  `patronymic` VARCHAR(64) NOT NULL DEFAULT '',
  `post` VARCHAR(255) NOT NULL DEFAULT '',
  `educationalOrg` VARCHAR(512) NOT NULL DEFAULT '',
  `eMail` VARCHAR(128) NOT NULL DEFAULT '',
  `phone` VARCHAR(32) NOT NULL DEFAULT '',
  `areaID` INT NULL DEFAULT NULL,
  `isActive` TINYINT(1) NOT NULL DEFAULT 1,
  `dateIn` DATE NULL DEFAULT NULL,
  `dateOut` DATE NULL DEFAULT NULL,
  `hotel` INT NULL DEFAULT NULL,
  PRIMARY KEY (`id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS `vzl_statusparticipant` (
  `id` INT NOT NULL,
  `nameStatus` VARCHAR(128) NOT NULL DEFAULT '',
  PRIMARY KEY (`id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- The regional application: one row per participant of an event in a school year.
-- Columns the workstation does not set when it adds a row default to NULL.
CREATE TABLE IF NOT EXISTS `vzl_application_reg` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `userID` INT NOT NULL,
  `classStudy` INT NULL DEFAULT NULL,
  `classPart` INT NULL DEFAULT NULL,
  `educationlListID_reg` INT NOT NULL,
  `levelolimpID` INT NOT NULL DEFAULT 3,
  `periodID` INT NULL DEFAULT NULL,
  `dateReg` DATETIME NULL DEFAULT NULL,
  `areaID` INT NULL DEFAULT NULL,
  `koordID` INT NULL DEFAULT NULL,
  `actionareaID` INT NULL DEFAULT NULL,
  `hotel` INT NULL DEFAULT NULL,
  `dateIn` DATE NULL DEFAULT NULL,
  `dateOut` DATE NULL DEFAULT NULL,
  `maintainerID` INT NULL DEFAULT NULL,
  `statusparticipantID` INT NOT NULL DEFAULT 1,
  `result` DOUBLE NULL DEFAULT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_appreg_event_period_level` (`educationlListID_reg`, `periodID`, `levelolimpID`),
  KEY `ix_appreg_user` (`userID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Menu entries closed per role: `permission` 0 closes the entry `MenuItem`.
CREATE TABLE IF NOT EXISTS `vzl_permissionuser` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `MenuItem` VARCHAR(64) NOT NULL DEFAULT '',
  `permission` INT NULL DEFAULT 1,
  `roleID` INT NOT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_permissionuser_role` (`roleID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Current version of each workstation program, one row per role.
CREATE TABLE IF NOT EXISTS `vzl_updatearm` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `Version` VARCHAR(64) NOT NULL DEFAULT '',
  `roleID` INT NOT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_updatearm_role` (`roleID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Announcement shown after login. `ColorCanvas` is a Windows colour value
-- (red in the low byte); `BodyAdv` is RTF (7-bit, \'hh escapes) or plain text.
CREATE TABLE IF NOT EXISTS `vzl_advertisement1` (
  `id` INT NOT NULL AUTO_INCREMENT,
  `roleID` INT NOT NULL,
  `isActive` TINYINT(1) NOT NULL DEFAULT 0,
  `BodyAdv` MEDIUMTEXT NULL,
  `ColorCanvas` INT NULL DEFAULT NULL,
  PRIMARY KEY (`id`),
  KEY `ix_advertisement1_role` (`roleID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
