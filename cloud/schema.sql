-- The cloud score service: accounts, exam projects, the name tables shared by all accounts,
-- and what each account publishes. Every id is assigned by the service; in the scope columns
-- -1 stands for all units or all classes. The unique keys are what the uploads find rows by.
-- Running this script again changes nothing.

CREATE TABLE IF NOT EXISTS yhm (
  id   bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,  -- registration number
  密码 text NOT NULL                                     -- argon2id hash, never the password
);

CREATE TABLE IF NOT EXISTS xmb (
  id       bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  yhmid    bigint NOT NULL REFERENCES yhm (id),
  项目名称 text NOT NULL,
  有效期   integer NOT NULL CHECK (有效期 > 0),           -- days of the lookup period
  上报时间 timestamp(0) NOT NULL DEFAULT localtimestamp(0),
  UNIQUE (yhmid, 项目名称)
);

CREATE TABLE IF NOT EXISTS gxdw (
  id   bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  单位 text NOT NULL UNIQUE
);
CREATE TABLE IF NOT EXISTS gxnj (
  id   bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  年级 text NOT NULL UNIQUE
);
CREATE TABLE IF NOT EXISTS gxbc (
  id   bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  班次 text NOT NULL UNIQUE
);
CREATE TABLE IF NOT EXISTS gxkm (
  id   bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  科目 text NOT NULL UNIQUE
);

CREATE TABLE IF NOT EXISTS stu (
  yhmid bigint NOT NULL REFERENCES yhm (id),
  stuid text NOT NULL,
  姓名  text NOT NULL,
  密码  text NOT NULL,  -- argon2id hash of the password given when the student was added
  dwid  bigint NOT NULL,
  njid  bigint NOT NULL,
  bcid  bigint NOT NULL,
  PRIMARY KEY (yhmid, stuid)
);

-- Ranking texts, one per scope and subject.
CREATE TABLE IF NOT EXISTS pmb (
  xmid bigint NOT NULL REFERENCES xmb (id),
  dwid bigint NOT NULL,
  njid bigint NOT NULL,
  bcid bigint NOT NULL,
  kmid bigint NOT NULL,
  pmmx text NOT NULL,
  PRIMARY KEY (xmid, njid, dwid, bcid, kmid)
);

-- Score statistics, one row per scope and subject.
CREATE TABLE IF NOT EXISTS tjb (
  xmid       bigint NOT NULL REFERENCES xmb (id),
  kmid       bigint NOT NULL,
  dwid       bigint NOT NULL,
  grade      bigint NOT NULL,
  classid    bigint NOT NULL,
  实有人数   integer NOT NULL,
  参考人数   integer NOT NULL,
  总分       numeric NOT NULL,
  平均分     numeric NOT NULL,
  最高分     numeric NOT NULL,
  最低分     numeric NOT NULL,
  中位数     numeric NOT NULL,
  方差       numeric NOT NULL,
  优秀率     numeric NOT NULL,
  良好率     numeric NOT NULL,
  及格率     numeric NOT NULL,
  不及格率   numeric NOT NULL,
  优秀人数   integer NOT NULL,
  良好人数   integer NOT NULL,
  及格人数   integer NOT NULL,
  不及格人数 integer NOT NULL,
  skew       numeric NOT NULL,
  kurtosis   numeric NOT NULL,
  分数段     text NOT NULL,
  PRIMARY KEY (xmid, kmid, grade, dwid, classid)
);

-- Every published score with its three ranks; a rank not computed is NULL.
CREATE TABLE IF NOT EXISTS cjb (
  stuid    text NOT NULL,
  xmid     bigint NOT NULL REFERENCES xmb (id),
  kmid     bigint NOT NULL,
  成绩     numeric NOT NULL,
  总排名   integer,
  校内排名 integer,
  班内排名 integer,
  PRIMARY KEY (stuid, xmid, kmid)
);

-- The school's name as given at registration (older accounts have none).
ALTER TABLE yhm ADD COLUMN IF NOT EXISTS 单位名称 text;

-- Slow-down of repeated failed sign-ins and of registrations, shared by every instance of the
-- results site. A key names what is counted (kind, account, number, client address).
CREATE TABLE IF NOT EXISTS throttle (
  key           text PRIMARY KEY,
  failures      integer NOT NULL,
  last_failure  timestamptz NOT NULL,
  blocked_until timestamptz NOT NULL
);

-- Student numbers are text in every table: 0101 and 101 are two students. Scores published
-- while cjb keyed them as integers go to the account's one student whose number has that value;
-- where there is no such single student they keep the digits as they were.
DO $$
BEGIN
  IF (SELECT data_type FROM information_schema.columns
      WHERE table_schema = current_schema() AND table_name = 'cjb'
        AND column_name = 'stuid') = 'bigint' THEN
    ALTER TABLE cjb ADD COLUMN stuid_text text;
    UPDATE cjb c SET stuid_text = coalesce(
      (SELECT min(s.stuid) FROM stu s JOIN xmb x ON x.yhmid = s.yhmid
        WHERE x.id = c.xmid AND s.stuid ~ '^[0-9]{1,18}$' AND s.stuid::bigint = c.stuid
        HAVING count(*) = 1),
      c.stuid::text);
    ALTER TABLE cjb DROP COLUMN stuid;  -- the primary key goes with it
    ALTER TABLE cjb RENAME COLUMN stuid_text TO stuid;
    ALTER TABLE cjb ALTER COLUMN stuid SET NOT NULL;
    ALTER TABLE cjb ADD PRIMARY KEY (stuid, xmid, kmid);
  END IF;
END $$;

-- Whether a statistics row's 良好率 and 及格率 count their own band only (分段) or every score
-- from the band up (累计), as the school had set it; NULL for rows published before it was kept.
ALTER TABLE tjb ADD COLUMN IF NOT EXISTS 比率口径 text;

-- Every sign-in carries its student's (or school's) epoch; signing out moves the epoch on, so
-- every cookie issued before ends at once.
ALTER TABLE stu ADD COLUMN IF NOT EXISTS signin_epoch integer NOT NULL DEFAULT 0;
ALTER TABLE yhm ADD COLUMN IF NOT EXISTS signin_epoch integer NOT NULL DEFAULT 0;

-- One registration per school name, names compared after NFKC (full-width letters and other
-- compatibility forms read as their plain form).
DO $$
BEGIN
  IF NOT EXISTS (SELECT FROM pg_indexes
                 WHERE schemaname = current_schema() AND indexname = 'yhm_school_name') THEN
    IF EXISTS (SELECT FROM yhm WHERE 单位名称 IS NOT NULL
               GROUP BY normalize(单位名称, NFKC) HAVING count(*) > 1) THEN
      RAISE EXCEPTION '有学校名称注册了不止一次（%）：请先为重复的账户改名，再建立云端数据表。',
        (SELECT string_agg(DISTINCT normalize(a.单位名称, NFKC), '、') FROM yhm a JOIN yhm b
           ON a.id < b.id AND normalize(a.单位名称, NFKC) = normalize(b.单位名称, NFKC));
    END IF;
    CREATE UNIQUE INDEX yhm_school_name ON yhm (normalize(单位名称, NFKC));
  END IF;
END $$;

-- Tenants. Each school publishes with a login role of its own, made at registration and named
-- in db_role, a member of zeziza_schools. Row-level security fences every such role to its own
-- account's rows; the name tables are shared and only grow. The tables' owner (the role that
-- runs this script, which the results site connects as) is not fenced.
ALTER TABLE yhm ADD COLUMN IF NOT EXISTS db_role text UNIQUE;

DO $$
BEGIN
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'zeziza_schools') THEN
    CREATE ROLE zeziza_schools NOLOGIN;
  END IF;
EXCEPTION WHEN duplicate_object OR unique_violation THEN
  NULL;  -- made meanwhile by a schema created beside this one
END $$;

DO $$
BEGIN
  EXECUTE format('GRANT USAGE ON SCHEMA %I TO zeziza_schools', current_schema());
END $$;
REVOKE ALL ON yhm, xmb, stu, pmb, tjb, cjb, gxdw, gxnj, gxbc, gxkm, throttle FROM PUBLIC;

ALTER TABLE yhm ENABLE ROW LEVEL SECURITY;
ALTER TABLE xmb ENABLE ROW LEVEL SECURITY;
ALTER TABLE stu ENABLE ROW LEVEL SECURITY;
ALTER TABLE pmb ENABLE ROW LEVEL SECURITY;
ALTER TABLE tjb ENABLE ROW LEVEL SECURITY;
ALTER TABLE cjb ENABLE ROW LEVEL SECURITY;

DROP POLICY IF EXISTS own_account ON yhm;
CREATE POLICY own_account ON yhm USING (db_role = current_user);
DROP POLICY IF EXISTS own_account ON xmb;
CREATE POLICY own_account ON xmb
  USING (yhmid = (SELECT id FROM yhm WHERE db_role = current_user));
DROP POLICY IF EXISTS own_account ON stu;
CREATE POLICY own_account ON stu
  USING (yhmid = (SELECT id FROM yhm WHERE db_role = current_user));
DROP POLICY IF EXISTS own_account ON pmb;
CREATE POLICY own_account ON pmb USING (xmid IN (SELECT x.id FROM xmb x
  WHERE x.yhmid = (SELECT id FROM yhm WHERE db_role = current_user)));
DROP POLICY IF EXISTS own_account ON tjb;
CREATE POLICY own_account ON tjb USING (xmid IN (SELECT x.id FROM xmb x
  WHERE x.yhmid = (SELECT id FROM yhm WHERE db_role = current_user)));
DROP POLICY IF EXISTS own_account ON cjb;
CREATE POLICY own_account ON cjb USING (xmid IN (SELECT x.id FROM xmb x
  WHERE x.yhmid = (SELECT id FROM yhm WHERE db_role = current_user)));

-- Students' first passwords: a student given a first password at publication (random, or the
-- school's one for all) chooses a password of their own at the first sign-in.
ALTER TABLE stu ADD COLUMN IF NOT EXISTS 须改密码 boolean NOT NULL DEFAULT false;

-- One registration per name as a reader sees it: the key is the name's confusable skeleton
-- after NFKC without blanks (阳光中学 with a wide blank, ⻄安中学 beside 西安中学). The
-- service computes it; accounts registered before it get theirs when the schema is created.
ALTER TABLE yhm ADD COLUMN IF NOT EXISTS 名称键 text;
CREATE UNIQUE INDEX IF NOT EXISTS yhm_school_name_key ON yhm (名称键);

-- The publication that last sent each row: publishing an exam again removes, within what it
-- covers, the rows it did not send (scores and students removed at the school).
CREATE SEQUENCE IF NOT EXISTS publication_seq;
GRANT USAGE ON SEQUENCE publication_seq TO zeziza_schools;
ALTER TABLE cjb ADD COLUMN IF NOT EXISTS 发布号 bigint;
ALTER TABLE pmb ADD COLUMN IF NOT EXISTS 发布号 bigint;
ALTER TABLE tjb ADD COLUMN IF NOT EXISTS 发布号 bigint;

-- Password checks booked per account (or student) across every address and every instance
-- of the results site: a guesser with many addresses gets no more checks than one.
CREATE TABLE IF NOT EXISTS check_budget (
  key          text PRIMARY KEY,
  booked_until timestamptz NOT NULL
);
REVOKE ALL ON check_budget FROM PUBLIC;

-- Schools publish only through the functions below, which run as the tables' owner and are
-- fenced to the caller's account: a school's role holds no privilege on any published table,
-- so it can neither lock one (stopping every school's results) nor read or explain over
-- another school's rows. Bulk rows go by COPY into the staging tables, which a school may only
-- fill (each row marked with the role that sent it), and one call merges them.
REVOKE ALL ON yhm, xmb, stu, pmb, tjb, cjb, gxdw, gxnj, gxbc, gxkm FROM zeziza_schools;

-- The account the session publishes for: a school's role publishes for its own account alone;
-- the owner (who alone besides schools may call these) for the account it names.
CREATE OR REPLACE FUNCTION zeziza_publisher(claimed bigint) RETURNS bigint
LANGUAGE plpgsql STABLE SECURITY DEFINER AS $$
DECLARE
  own bigint;
BEGIN
  IF NOT EXISTS (SELECT FROM pg_auth_members m
                 WHERE m.roleid = (SELECT oid FROM pg_roles WHERE rolname = 'zeziza_schools')
                   AND m.member = (SELECT oid FROM pg_roles WHERE rolname = session_user)) THEN
    RETURN claimed;
  END IF;
  SELECT id INTO own FROM yhm WHERE db_role = session_user;
  IF own IS NULL OR own IS DISTINCT FROM claimed THEN
    RAISE EXCEPTION '数据库用户%不能为账户%上报', session_user, claimed
      USING ERRCODE = 'insufficient_privilege';
  END IF;
  RETURN own;
END $$;

-- The ids of shared names (units, grades, classes, subjects), added in the order given when
-- new.
CREATE OR REPLACE FUNCTION zeziza_names(kind text, names text[])
RETURNS TABLE (name text, id bigint)
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  t text;
  c text;
BEGIN
  CASE kind
    WHEN 'units' THEN t := 'gxdw'; c := '单位';
    WHEN 'grades' THEN t := 'gxnj'; c := '年级';
    WHEN 'classes' THEN t := 'gxbc'; c := '班次';
    WHEN 'subjects' THEN t := 'gxkm'; c := '科目';
    ELSE RAISE EXCEPTION 'unknown name table %', kind;
  END CASE;
  IF cardinality(names) > 10000
     OR EXISTS (SELECT FROM unnest(names) n WHERE n IS NULL OR length(n) > 100) THEN
    RAISE EXCEPTION '名称过长或过多' USING ERRCODE = 'string_data_right_truncation';
  END IF;
  EXECUTE format('INSERT INTO %I (%I) SELECT n FROM unnest($1) WITH ORDINALITY AS u (n, i) '
                 'ORDER BY i ON CONFLICT (%I) DO NOTHING', t, c, c) USING names;
  RETURN QUERY EXECUTE format('SELECT %I, id FROM %I WHERE %I = ANY ($1)', c, t, c) USING names;
END $$;

-- The account's project of an exam with the end of its lookup period, created with a period of
-- `days` when there is none and `days` is given.
CREATE OR REPLACE FUNCTION zeziza_project(account bigint, exam text, days integer)
RETURNS TABLE (id bigint, period_end text)
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  acct bigint := zeziza_publisher(account);
BEGIN
  IF length(exam) > 100 OR days NOT BETWEEN 1 AND 36500 THEN
    RAISE EXCEPTION '考试名称过长或有效期无效' USING ERRCODE = 'string_data_right_truncation';
  END IF;
  IF days IS NOT NULL THEN
    INSERT INTO xmb (yhmid, 项目名称, 有效期) VALUES (acct, exam, days)
    ON CONFLICT (yhmid, 项目名称) DO NOTHING;
  END IF;
  RETURN QUERY SELECT x.id, to_char(x.上报时间 + x.有效期 * interval '1 day',
                                     'YYYY-MM-DD HH24:MI:SS')
    FROM xmb x WHERE x.yhmid = acct AND x.项目名称 = exam;
END $$;

CREATE OR REPLACE FUNCTION zeziza_known_students(account bigint) RETURNS SETOF text
LANGUAGE sql STABLE SECURITY DEFINER AS $$
  SELECT stuid FROM stu WHERE yhmid = zeziza_publisher(account)
$$;

-- Staging tables: the published tables' columns, the sizes a school may send, and the role
-- that sent each row (never given by the school: it may not write that column).
CREATE UNLOGGED TABLE IF NOT EXISTS stage_stu (LIKE stu INCLUDING DEFAULTS);
CREATE UNLOGGED TABLE IF NOT EXISTS stage_cjb (LIKE cjb INCLUDING DEFAULTS);
CREATE UNLOGGED TABLE IF NOT EXISTS stage_pmb (LIKE pmb INCLUDING DEFAULTS);
CREATE UNLOGGED TABLE IF NOT EXISTS stage_tjb (LIKE tjb INCLUDING DEFAULTS);
-- Columns added to the published tables after their staging tables were made.
ALTER TABLE stage_tjb ADD COLUMN IF NOT EXISTS 比率口径 text;
DO $$
DECLARE
  t text;
BEGIN
  FOREACH t IN ARRAY ARRAY['stage_stu', 'stage_cjb', 'stage_pmb', 'stage_tjb'] LOOP
    EXECUTE format('ALTER TABLE %I ADD COLUMN IF NOT EXISTS who name NOT NULL '
                   'DEFAULT session_user', t);
    EXECUTE format('CREATE INDEX IF NOT EXISTS %I ON %I (who)', t || '_who', t);
    EXECUTE format('REVOKE ALL ON %I FROM PUBLIC, zeziza_schools', t);
  END LOOP;
END $$;
ALTER TABLE stage_stu DROP CONSTRAINT IF EXISTS sizes;
ALTER TABLE stage_stu ADD CONSTRAINT sizes
  CHECK (length(stuid) <= 64 AND length(姓名) <= 64 AND length(密码) <= 256);
ALTER TABLE stage_cjb DROP CONSTRAINT IF EXISTS sizes;
ALTER TABLE stage_cjb ADD CONSTRAINT sizes CHECK (length(stuid) <= 64);
ALTER TABLE stage_pmb DROP CONSTRAINT IF EXISTS sizes;
ALTER TABLE stage_pmb ADD CONSTRAINT sizes CHECK (length(pmmx) <= 4000000);
ALTER TABLE stage_tjb DROP CONSTRAINT IF EXISTS sizes;
ALTER TABLE stage_tjb ADD CONSTRAINT sizes CHECK (length(分数段) <= 10000);
GRANT INSERT (yhmid, stuid, 姓名, 密码, 须改密码, dwid, njid, bcid) ON stage_stu TO zeziza_schools;
GRANT INSERT (stuid, xmid, kmid, 成绩, 总排名, 校内排名, 班内排名, 发布号)
  ON stage_cjb TO zeziza_schools;
GRANT INSERT (xmid, njid, dwid, bcid, kmid, pmmx, 发布号) ON stage_pmb TO zeziza_schools;
DO $$
BEGIN
  EXECUTE (SELECT format('GRANT INSERT (%s) ON stage_tjb TO zeziza_schools',
                         string_agg(quote_ident(attname), ', '))
           FROM pg_attribute WHERE attrelid = 'stage_tjb'::regclass AND attnum > 0
             AND NOT attisdropped AND attname <> 'who');
END $$;

-- Merges the caller's staged rows of `target` into it and empties them; every row must be the
-- account's (its student list, or its projects). A known student keeps their password.
CREATE OR REPLACE FUNCTION zeziza_merge(target text, account bigint) RETURNS bigint
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  acct bigint := zeziza_publisher(account);
  stage text := 'stage_' || target;
  keys text[];
  foreign_rows boolean;
  columns text;
  updates text;
  merged bigint;
BEGIN
  CASE target
    WHEN 'stu' THEN keys := ARRAY['yhmid', 'stuid', '密码', '须改密码', 'signin_epoch'];
    WHEN 'cjb' THEN keys := ARRAY['stuid', 'xmid', 'kmid'];
    WHEN 'pmb' THEN keys := ARRAY['xmid', 'njid', 'dwid', 'bcid', 'kmid'];
    WHEN 'tjb' THEN keys := ARRAY['xmid', 'kmid', 'grade', 'dwid', 'classid'];
    ELSE RAISE EXCEPTION 'unknown table %', target;
  END CASE;
  IF target = 'stu' THEN
    SELECT EXISTS (SELECT FROM stage_stu WHERE who = session_user AND yhmid <> acct)
      INTO foreign_rows;
  ELSE
    EXECUTE format('SELECT EXISTS (SELECT FROM %I s WHERE s.who = session_user AND s.xmid '
                   'NOT IN (SELECT x.id FROM xmb x WHERE x.yhmid = $1))', stage)
      INTO foreign_rows USING acct;
  END IF;
  IF foreign_rows THEN
    RAISE EXCEPTION '上报的数据不属于账户%', acct USING ERRCODE = 'insufficient_privilege';
  END IF;
  SELECT string_agg(quote_ident(attname), ', ' ORDER BY attnum),
         string_agg(format('%I = EXCLUDED.%I', attname, attname), ', ' ORDER BY attnum)
           FILTER (WHERE NOT attname = ANY (keys))
    INTO columns, updates
    FROM pg_attribute WHERE attrelid = target::regclass AND attnum > 0 AND NOT attisdropped;
  EXECUTE format('INSERT INTO %I (%s) SELECT %s FROM %I WHERE who = session_user '
                 'ON CONFLICT ON CONSTRAINT %I DO UPDATE SET %s',
                 target, columns, columns, stage, target || '_pkey', updates);
  GET DIAGNOSTICS merged = ROW_COUNT;
  EXECUTE format('DELETE FROM %I WHERE who = session_user', stage);
  RETURN merged;
END $$;

-- Removes the rows of an exam within what a publication covers that it did not send (see
-- removeUnsent in the service's code for the scope).
CREATE OR REPLACE FUNCTION zeziza_remove_unsent(
  account bigint, project bigint, publication bigint, subjects bigint[], grades bigint[],
  units bigint[], classes bigint[], ranking_scopes boolean[], statistics_scopes boolean[])
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  acct bigint := zeziza_publisher(account);
BEGIN
  IF NOT EXISTS (SELECT FROM xmb WHERE id = project AND yhmid = acct) THEN
    RAISE EXCEPTION '考试项目%不属于账户%', project, acct
      USING ERRCODE = 'insufficient_privilege';
  END IF;
  DELETE FROM cjb c WHERE c.xmid = project AND c.发布号 IS DISTINCT FROM publication
    AND c.kmid = ANY (subjects) AND NOT EXISTS (
      SELECT FROM stu s WHERE s.yhmid = acct AND s.stuid = c.stuid
        AND NOT (s.njid = ANY (grades) AND s.dwid = ANY (units) AND s.bcid = ANY (classes)));
  DELETE FROM pmb p WHERE p.xmid = project AND p.发布号 IS DISTINCT FROM publication
    AND p.kmid = ANY (subjects) AND p.njid = ANY (grades)
    AND ((p.dwid = -1 AND p.bcid = -1 AND ranking_scopes[1])
      OR (p.dwid = ANY (units) AND p.bcid = -1 AND ranking_scopes[2])
      OR (p.dwid = ANY (units) AND p.bcid = ANY (classes) AND ranking_scopes[3]));
  DELETE FROM tjb t WHERE t.xmid = project AND t.发布号 IS DISTINCT FROM publication
    AND t.kmid = ANY (subjects) AND t.grade = ANY (grades)
    AND ((t.dwid = -1 AND t.classid = -1 AND statistics_scopes[1])
      OR (t.dwid = ANY (units) AND t.classid = -1 AND statistics_scopes[2])
      OR (t.dwid = ANY (units) AND t.classid = ANY (classes) AND statistics_scopes[3]));
END $$;

-- Every function runs with this schema first and the caller's temporary tables last, so no
-- table of the caller's can stand in for the service's; only schools and the owner call them.
DO $$
DECLARE
  f regprocedure;
BEGIN
  FOR f IN SELECT p.oid FROM pg_proc p WHERE p.pronamespace = current_schema()::regnamespace
             AND p.proname IN ('zeziza_publisher', 'zeziza_names', 'zeziza_project',
                               'zeziza_known_students', 'zeziza_merge', 'zeziza_remove_unsent')
  LOOP
    EXECUTE format('ALTER FUNCTION %s SET search_path = %I, pg_temp', f, current_schema());
    EXECUTE format('REVOKE ALL ON FUNCTION %s FROM PUBLIC', f);
    EXECUTE format('GRANT EXECUTE ON FUNCTION %s TO zeziza_schools', f);
  END LOOP;
END $$;

-- Each school's role: a few connections, and statements, lock waits and idle transactions
-- cut short, so one school cannot take the server's connections or hold others up. Roles
-- made before get the same.
DO $$
DECLARE
  r text;
BEGIN
  FOR r IN SELECT y.db_role FROM yhm y JOIN pg_roles p ON p.rolname = y.db_role LOOP
    EXECUTE format('ALTER ROLE %I CONNECTION LIMIT 4', r);
    EXECUTE format('ALTER ROLE %I SET statement_timeout = %L', r, '120s');
    EXECUTE format('ALTER ROLE %I SET lock_timeout = %L', r, '10s');
    EXECUTE format('ALTER ROLE %I SET idle_in_transaction_session_timeout = %L', r, '60s');
  END LOOP;
END $$;
