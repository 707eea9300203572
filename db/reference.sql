-- Rows every database of the workstation needs: the participant statuses.
-- The names of 1, 4, 7, 10 and 15 are repeated word for word by the program.
-- Safe to load again: existing rows get the names below.

SET NAMES utf8mb4;

INSERT INTO `vzl_statusparticipant` (`id`, `nameStatus`) VALUES
  (1, 'Кандидат в участники'),
  (4, 'Участник регионального этапа'),
  (7, 'Победитель регионального этапа'),
  (8, 'Победитель заключительного этапа'),
  (9, 'Призер заключительного этапа'),
  (10, 'Призер регионального этапа'),
  (15, 'Не прибыл на региональный этап')
ON DUPLICATE KEY UPDATE `nameStatus` = VALUES(`nameStatus`);
