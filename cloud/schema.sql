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
GRANT SELECT ON yhm TO zeziza_schools;
GRANT SELECT, INSERT, UPDATE, DELETE ON xmb, stu, pmb, tjb, cjb TO zeziza_schools;
GRANT SELECT, INSERT ON gxdw, gxnj, gxbc, gxkm TO zeziza_schools;

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
