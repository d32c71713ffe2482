-- Version 3: the history names the page a change came from by the page's own name.
UPDATE score_history SET page = CASE page
  WHEN 'TIWForm2' THEN 'ScoreEntryPage'
  WHEN 'TIWForm6' THEN 'ClassGridEntryPage'
  WHEN 'TIWFormdr' THEN 'BatchImportPage'
  ELSE page END
WHERE page IN ('TIWForm2', 'TIWForm6', 'TIWFormdr');
