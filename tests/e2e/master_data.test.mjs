// Setting up a school in a real browser: a grade and a class on the units page, students
// pasted as two columns on the roster, and paging through the roster.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, openBrowser } from './harness.mjs';

let server;
let b;

before(async () => {
  server = await startServer({ binary: process.env.ZEZIZA_SIGNED_IN_SERVER });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

// A column of lines as a spreadsheet pastes it: one line each, with a final line break.
const column = (lines) => lines.join('\n') + '\n';
const range = (from, to) => Array.from({ length: to - from + 1 }, (_, i) => from + i);

async function openRoster() {
  await b.page.goto(server.url + '/');
  await b.page.waitForFunction(() => document.title === '学生管理');
  await b.settled();
}

// The roster's pager line: its status and its links.
const COUNT = '#resultpager .gridpager-status';
const pagerLink = (param) => `#resultpager a[data-iw-param=${param}]`;

async function gridRows() {
  return (await b.page.locator('#resultsgrid tr').count()) - 1;
}

test('units page: add a grade and a class', async () => {
  const { page, dialogs } = b;
  await openRoster();
  // A fresh school has no grades yet: the roster points to the units page.
  await b.submitBy('#addstudentslink');
  assert.ok(await page.isVisible('#noticepanel'));
  await b.submitBy('#unitslink');
  assert.equal(await page.title(), '单位设置');

  await page.fill('#gradeedit', '  2024级 ');
  await b.submitBy('#gradeaddbutton');
  await page.fill('#classedit', '十 班');
  await b.submitBy('#classaddbutton');
  assert.deepEqual(dialogs, []);
  assert.match(await page.textContent('#gradegrid'), /2024级/);
  assert.match(await page.textContent('#classgrid'), /十 班/);

  await page.fill('#gradeedit', '2024级');
  await b.submitBy('#gradeaddbutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '添加失败，该年级已存在！' });
});

test('roster: paste students as two columns and page through them', async () => {
  const { page, dialogs } = b;
  await openRoster();  // a new session reads the grades as a sign-in does
  await b.submitBy('#addstudentslink');
  assert.ok(await page.isVisible('#addpanel'));
  await page.selectOption('#addunitbox', { label: '东校区' });
  await page.selectOption('#addgradebox', { label: '2024级' });
  await page.selectOption('#addclassbox', { label: '十 班' });

  await page.fill('#numbersmemo', column(['S001', 'S002', 'S003']));
  await page.fill('#namesmemo', column(['张三', '李四', "O'Brien"]));
  await b.submitBy('#addbutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '已添加3名学生' });
  assert.deepEqual(dialogs, []);
  assert.equal(await page.inputValue('#numbersmemo'), '');

  // A batch with a number that exists adds nobody.
  await page.fill('#numbersmemo', column(['S100', 'S002']));
  await page.fill('#namesmemo', column(['甲', '乙']));
  await b.submitBy('#addbutton');
  assert.deepEqual(dialogs.pop(), {
    type: 'alert', message: '学生编号S002（已是东校区2024级十 班李四的编号）已被占用，本次的学生一个也没有添加。' +
      '请改正这些编号后再点添加新学生',
  });

  const more = range(4, 45);
  await page.fill('#numbersmemo', column(more.map((i) => 'S' + String(i).padStart(3, '0'))));
  await page.fill('#namesmemo', column(more.map((i) => '学生' + i)));
  await b.submitBy('#addbutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '已添加42名学生' });
  assert.deepEqual(dialogs, []);

  await b.submitBy('#querybutton');
  assert.equal(await page.textContent(COUNT), '共有45条符合条件的记录  [第1页/共3页]');
  assert.equal(await gridRows(), 20);
  await b.submitBy(pagerLink('page_next'));
  assert.equal(await page.textContent(COUNT), '共有45条符合条件的记录  [第2页/共3页]');
  await b.submitBy(pagerLink('page_last'));
  assert.equal(await page.textContent(COUNT), '共有45条符合条件的记录  [第3页/共3页]');
  assert.equal(await gridRows(), 5);
  assert.match(await page.textContent('#resultsgrid'), /学生45/);
  await Promise.all([page.waitForNavigation(), page.selectOption('select[name=resultpager_page]', { label: '1' })]);
  await b.settled();
  assert.equal(await page.textContent(COUNT), '共有45条符合条件的记录  [第1页/共3页]');
  assert.match(await page.textContent('#resultsgrid'), /O'Brien/);

  await page.selectOption('#gradebox', { label: '2024级' });
  await page.fill('#namepartedit', "O'B");
  await b.submitBy('#querybutton');
  assert.equal(await page.textContent(COUNT), '共有1条符合条件的记录  [第1页/共1页]');
  assert.deepEqual(dialogs, []);
});
