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
  stuid    bigint NOT NULL,
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
